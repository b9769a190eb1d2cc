#pragma once

#include "platform/Win32Types.h"
#include "platform/dialog/CPropertyPage.h"

#include <QDialog>
#include <QDialogButtonBox>

#include <vector>

class QTabWidget;
class QPushButton;

// A modal tabbed sheet with OK, Cancel, Apply and Help. The current page is validated before
// any other page becomes current and before anything is applied; a page that fails keeps
// the sheet where it is.
class CPropertySheet : public QDialog {
    Q_OBJECT
public:
    explicit CPropertySheet(const QString& caption, QWidget* parent = nullptr, UINT selectPage = 0);

    // The sheet shows the page but does not own it.
    virtual void AddPage(CPropertyPage* page);
    int DoModal();

    int GetPageCount() const { return int(m_pages.size()); }
    CPropertyPage* GetPage(int index) const { return m_pages.at(std::size_t(index)); }
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const { return m_active; }
    // Leaves the current page (if its values pass) and activates index.
    BOOL SetActivePage(int index);

    QPushButton* button(QDialogButtonBox::StandardButton which) const {
        return m_buttons->button(which);
    }

Q_SIGNALS:
    void helpRequested();

protected:
    // Applies every page whose window exists, in tab order; a page that refuses becomes current
    // and stops the rest.
    virtual bool applyPages();
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate(int index);
    void keepButtonsLastInTabOrder();
    // Validates the current page, then applies the pages.
    bool applyChanges();
    void onOk();
    void onApplyNow();
    void updateApplyButton();
    void onTabBarChanged(int index);
    void stepPage(int delta);

    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
    std::vector<CPropertyPage*> m_pages;
    int m_active = -1;
    int m_startPage;
};
