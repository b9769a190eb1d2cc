#include "pages/SheetPage.h"

#include "launch/EditorLauncher.h"
#include "launch/OpenUrlShortcut.h"
#include "model/PageMessages.h"
#include "model/SheetModel.h"
#include "platform/dialog/CComboBox.h"
#include "platform/dialog/DDX.h"
#include "settings/MotdText.h"
#include "settings/WeaponTokens.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {
EditorLauncher* editorOf(const char* fileName) {
    for (EditorLauncher* editor : {&MotdEditor, &AllowFileEditor, &DenyFileEditor}) {
        if (std::string_view(editor->fileName()) == fileName)
            return editor;
    }
    return nullptr;
}

// A substitute list's chosen weapon: its selection, or else the item its edit field names.
void DDX_WeaponList(CDataExchange* pDX, int id, int& selection) {
    if (pDX->failed())
        return;
    CComboBox list;
    list.Attach(pDX->PrepareCtrl(id));
    if (!list.combo())
        return;
    if (pDX->m_bSaveAndValidate) {
        selection = list.GetCurSel();
        if (selection == CB_ERR)
            selection = PageModel::WeaponNamed(list.GetWindowText().toStdString());
    } else if (WeaponTokenFromIndex(selection) && list.GetCurSel() != selection) {
        // A list without a weapon keeps what the user typed into it.
        list.SetCurSel(selection);
    }
}
} // namespace

std::string TypedNumberText(const QString& text) {
    return text.trimmed().toStdString();
}

SheetPage::SheetPage(const DialogTemplate& dialog) : CPropertyPage(dialog) {
    const PageModel layout(dialog);
    for (std::size_t i = 0; i < layout.controls().size(); ++i) {
        const PageControl& control = layout.controls()[i];
        if (control.placeholder || control.id() == IDC_STATIC)
            continue;
        const int index = int(i);
        switch (control.role) {
        case ControlRole::CheckBox:
            ON_BN_CLICKED(control.id(), [this, index] { OnCheckBoxClicked(index); });
            break;
        case ControlRole::Number:
            ON_EN_CHANGE(control.id(), [this, index] { OnNumberChanged(index); });
            break;
        case ControlRole::WeaponList:
            ON_CBN_SELCHANGE(control.id(), [this, index] { OnWeaponChosen(index); });
            break;
        case ControlRole::Button:
            ON_BN_CLICKED(control.id(), [this, edits = control.editsFile,
                                         opens = control.shortcutFile] { OnButton(edits, opens); });
            break;
        default:
            break;
        }
    }
}

void SheetPage::bindModel(SheetModel& sheet) {
    m_sheet = &sheet;
    m_model = sheet.pageFor(dialogTemplate().id);
}

void SheetPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    if (!m_model)
        return;
    for (PageControl& control : m_model->controls()) {
        if (control.isPreview())
            DDX_Control(pDX, control.id(), m_motdPreview);
    }
    for (const int index : m_model->keyOrder()) {
        PageControl& control = m_model->controls()[std::size_t(index)];
        switch (control.role) {
        case ControlRole::CheckBox: {
            int checked = control.checked;
            DDX_Check(pDX, control.id(), checked);
            control.checked = checked != 0;
            break;
        }
        case ControlRole::Number: {
            QString text = QString::fromStdString(control.text);
            DDX_Text(pDX, control.id(), text);
            if (pDX->m_bSaveAndValidate)
                control.text = TypedNumberText(text);
            break;
        }
        case ControlRole::WeaponList:
            DDX_WeaponList(pDX, control.id(), control.selection);
            break;
        default:
            break;
        }
    }
    if (!pDX->m_bSaveAndValidate)
        return;
    if (const std::optional<Refusal> refusal = m_model->validate()) {
        pDX->PrepareEditCtrl(m_model->controls()[std::size_t(refusal->index)].id());
        pDX->Fail(QString::fromStdString(refusal->message));
    }
}

BOOL SheetPage::OnSetActive() {
    if (m_sheet) {
        m_sheet->OnSetActive(*m_model, MotdEditor.running != 0);
        UpdateData(FALSE);
        drawPreview();
        drawState();
        markModifiedAsTheModelSays();
    }
    return CPropertyPage::OnSetActive();
}

BOOL SheetPage::OnApply() {
    // The model writes what the controls hold when the sheet saves.
    UpdateData(TRUE);
    return CPropertyPage::OnApply();
}

void SheetPage::showKeptKeys() {
    UpdateData(FALSE);
    drawState();
}

void SheetPage::drawState() {
    for (const PageControl& control : m_model->controls()) {
        if (control.placeholder || control.id() == IDC_STATIC)
            continue;
        if (QWidget* widget = GetDlgItem(control.id()))
            widget->setEnabled(control.enabled);
    }
}

void SheetPage::drawPreview() {
    // While the editor is open its worker owns the preview and refills it when it closes; after
    // that the preview shows what the worker put there until the page is shown again.
    if (MotdEditor.running)
        return;
    for (const PageControl& control : m_model->controls()) {
        if (control.isPreview()) {
            m_motdPreview.LimitText(int(kMotdPreviewBytes));
            m_motdPreview.SetSel(0, -1);
            m_motdPreview.ReplaceSel(QString::fromStdString(control.text), FALSE);
        }
    }
}

void SheetPage::markModifiedAsTheModelSays() {
    if (m_model->modified())
        SetModified(TRUE);
}

void SheetPage::OnCheckBoxClicked(int index) {
    if (!m_model)
        return;
    const PageControl& control = m_model->controls()[std::size_t(index)];
    const auto* box = qobject_cast<QCheckBox*>(GetDlgItem(control.id()));
    m_model->setChecked(index, box && box->checkState() != Qt::Unchecked);
    drawState();
    markModifiedAsTheModelSays();
}

void SheetPage::OnNumberChanged(int index) {
    if (!m_model)
        return;
    const PageControl& control = m_model->controls()[std::size_t(index)];
    if (const auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(control.id())))
        m_model->setNumberText(index, TypedNumberText(edit->text()));
    markModifiedAsTheModelSays();
}

void SheetPage::OnWeaponChosen(int index) {
    if (!m_model)
        return;
    CComboBox list;
    list.Attach(GetDlgItem(m_model->controls()[std::size_t(index)].id()));
    m_model->pickWeapon(index, list.GetCurSel());
    markModifiedAsTheModelSays();
}

// Opening a file is not a change to the settings, so the page stays as it was.
void SheetPage::OnButton(const char* editsFile, const char* shortcutFile) {
    if (editsFile) {
        if (EditorLauncher* editor = editorOf(editsFile))
            editor->Launch(editor == &MotdEditor ? &m_motdPreview : nullptr);
    } else if (shortcutFile) {
        OpenUrlShortcut(UrlShortcut{shortcutFile});
    }
}
