#pragma once

#include "platform/dialog/CEdit.h"
#include "platform/dialog/CPropertyPage.h"

class PageModel;
class SheetModel;

// A page of the sheet that shows its page model: the controls of its template bound to the
// model's, every change forwarded to the model, and the model's state drawn back. The rules
// (what is read and written, what is refused, what follows what) are the model's.
class SheetPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit SheetPage(const DialogTemplate& dialog);

    // The sheet binds the page to its own model when it adds the page; until then the page
    // shows its template only, reads nothing and writes nothing.
    void bindModel(SheetModel& sheet);
    PageModel* pageModel() const { return m_model; }

    BOOL OnSetActive() override;
    BOOL OnApply() override;
    // After the model has read kept keys again: shows them.
    void showKeptKeys();

protected:
    // Binds every control that shows a key to the model's, in the page's order, then lets the
    // model check the numbers (the DDV step): the first it refuses fails the exchange.
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnCheckBoxClicked(int index);
    void OnNumberChanged(int index);
    void OnWeaponChosen(int index);
    void OnButton(const char* editsFile, const char* shortcutFile);
    // The model's enabled states, drawn.
    void drawState();
    // The model's message-of-the-day preview, drawn when the page is shown.
    void drawPreview();
    void markModifiedAsTheModelSays();

    SheetModel* m_sheet = nullptr;
    PageModel* m_model = nullptr;
    CEdit m_motdPreview;
};

// The text a number box holds as the model takes it: Qt's white space (Unicode's) around the
// number is forgiven.
std::string TypedNumberText(const QString& text);
