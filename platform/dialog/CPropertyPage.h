#pragma once

#include "platform/DialogTemplate.h"
#include "platform/Win32Types.h"
#include "platform/dialog/CDataExchange.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <vector>

// One page of a property sheet, built on a dialog template. The page object lives as long as
// the sheet; its window (the controls) is created when the page is first activated.
class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    explicit CPropertyPage(const DialogTemplate& dialog);

    const DialogTemplate& dialogTemplate() const { return m_template; }
    QString GetCaption() const { return QString::fromLatin1(m_template.caption); }
    bool isWindowCreated() const { return m_created; }
    // Creates the controls and runs OnInitDialog; the sheet calls it once, on first activation.
    void createPageWindow();

    QWidget* GetDlgItem(int id) const { return m_controls.value(id); }
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void SetModified(BOOL changed = TRUE);
    bool isModified() const { return m_modified; }

    virtual BOOL OnSetActive();
    // Leaving the page: the values must pass validation.
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();

Q_SIGNALS:
    void modifiedChanged(bool modified);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    // The usual command handler: any change of a control marks the page modified.
    void OnModified() { SetModified(TRUE); }

    // Command map entries, made in the constructor; wired when the window is created.
    template <class Page> void ON_BN_CLICKED(int id, void (Page::*handler)()) {
        addCommand(id, Notification::Clicked, handler);
    }
    template <class Page> void ON_EN_CHANGE(int id, void (Page::*handler)()) {
        addCommand(id, Notification::EditChange, handler);
    }
    template <class Page> void ON_CBN_SELCHANGE(int id, void (Page::*handler)()) {
        addCommand(id, Notification::SelectionChange, handler);
    }
    // The same for a page whose handlers are made per control.
    void ON_BN_CLICKED(int id, std::function<void()> handler) {
        m_commandMap.push_back({id, Notification::Clicked, std::move(handler)});
    }
    void ON_EN_CHANGE(int id, std::function<void()> handler) {
        m_commandMap.push_back({id, Notification::EditChange, std::move(handler)});
    }
    void ON_CBN_SELCHANGE(int id, std::function<void()> handler) {
        m_commandMap.push_back({id, Notification::SelectionChange, std::move(handler)});
    }

private:
    enum class Notification { Clicked, EditChange, SelectionChange };
    struct CommandEntry {
        int id;
        Notification code;
        std::function<void()> handler;
    };
    template <class Page> void addCommand(int id, Notification code, void (Page::*handler)()) {
        m_commandMap.push_back(
            {id, code, [this, handler] { (static_cast<Page*>(this)->*handler)(); }});
    }
    void connectCommandMap();

    const DialogTemplate& m_template;
    std::vector<CommandEntry> m_commandMap;
    QHash<int, QWidget*> m_controls;
    bool m_created = false;
    bool m_modified = false;
};
