#include "platform/dialog/DialogBuilder.h"

#include "platform/dialog/DialogUnits.h"
#include "platform/dialog/DropDownCombo.h"
#include "platform/dialog/NumberEdit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPair>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kOneLineStatic = 12; // dialog units: taller labels wrap

QString text(const char* caption) {
    return caption ? QString::fromLatin1(caption) : QString();
}

QWidget* createEdit(const ControlTemplate& c, QWidget* parent) {
    if (c.style & ES_MULTILINE) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setReadOnly(c.style & ES_READONLY);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setVerticalScrollBarPolicy((c.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setFrameShape((c.style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
        edit->setTabChangesFocus(true);
        return edit;
    }
    QLineEdit* edit = (c.style & ES_NUMBER) ? new NumberEdit(parent) : new QLineEdit(parent);
    edit->setFrame(c.style & WS_BORDER);
    edit->setReadOnly(c.style & ES_READONLY);
    return edit;
}

QWidget* createCombo(const ControlTemplate& c, QWidget* parent, const DialogUnits& du) {
    auto* combo = new DropDownCombo(parent);
    QStringList items;
    items.reserve(qsizetype(c.items.size()));
    for (const char* item : c.items)
        items.append(text(item));
    // The platform's sorted lists order their items case-insensitively, an item that compares
    // equal after those before it. All are added at once: one insertion, not one per item.
    if (c.style & CBS_SORT)
        std::stable_sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->clearEditText();
    // The template's height is the opened list's; the closed box takes the font's height.
    const int rowHeight = qMax(1, combo->fontMetrics().height() + 2);
    combo->setMaxVisibleItems(qMax(1, du.toPixelsY(c.cy) / rowHeight - 1));
    return combo;
}

// The height of a closed list box: its size hint's, which depends on the font and the style
// but not on the items (they have no icons). The hint measures every item for its width, so
// the height is taken once per font and style from an empty box.
int closedComboHeight(const QWidget* combo) {
    static QHash<QString, int> heights;
    const QString key = combo->font().key() + QLatin1Char('/') + combo->style()->name();
    auto known = heights.constFind(key);
    if (known == heights.constEnd()) {
        DropDownCombo empty;
        empty.setFont(combo->font());
        if (combo->style() != QApplication::style())
            empty.setStyle(combo->style());
        known = heights.insert(key, empty.sizeHint().height());
    }
    return *known;
}

} // namespace

QWidget* DialogBuilder::createControl(const ControlTemplate& c, QWidget* parent,
                                      const DialogUnits& du) {
    QWidget* w = nullptr;
    switch (c.kind) {
    case ControlKind::CheckBox:
        w = new QCheckBox(text(c.caption), parent);
        break;
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text(c.caption), parent);
        // Enter belongs to the sheet's OK button, whichever button has focus.
        button->setAutoDefault(false);
        w = button;
        break;
    }
    case ControlKind::Edit:
        w = createEdit(c, parent);
        break;
    case ControlKind::ComboBox:
        w = createCombo(c, parent, du);
        break;
    case ControlKind::GroupBox:
        w = new QGroupBox(text(c.caption), parent);
        break;
    case ControlKind::Static: {
        auto* label = new QLabel(text(c.caption), parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // A one-line label never wraps out of sight: the page is made wide enough for it.
        label->setWordWrap(c.cy > kOneLineStatic);
        if (c.style & WS_EX_STATICEDGE)
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        w = label;
        break;
    }
    case ControlKind::Picture: {
        auto* picture = new QLabel(parent);
        const QPixmap pixmap(text(c.caption));
        picture->setPixmap(pixmap);
        if (c.style & (WS_BORDER | WS_EX_CLIENTEDGE))
            picture->setFrameStyle(QFrame::Box | QFrame::Sunken);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        const int frame = 2 * picture->frameWidth();
        picture->setGeometry(du.toPixelsX(c.x), du.toPixelsY(c.y), pixmap.width() + frame,
                             pixmap.height() + frame);
        w = picture;
        break;
    }
    }

    const bool interactive = c.kind == ControlKind::CheckBox || c.kind == ControlKind::PushButton ||
                             c.kind == ControlKind::Edit || c.kind == ControlKind::ComboBox;
    if (!interactive) {
        w->setFocusPolicy(Qt::NoFocus);
        // Frames and labels never catch a click meant for a control they surround or touch.
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
    } else if (!(c.style & WS_TABSTOP))
        w->setFocusPolicy(Qt::ClickFocus);
    if (c.kind != ControlKind::Picture) {
        QRect r = du.toPixels(c.x, c.y, c.cx, c.cy);
        if (c.kind == ControlKind::ComboBox)
            r.setHeight(closedComboHeight(w));
        w->setGeometry(r);
    }
    if (c.id != IDC_STATIC)
        w->setObjectName(QStringLiteral("ctl%1").arg(c.id));
    if (c.accessibleName) {
        w->setAccessibleName(text(c.accessibleName));
        // On this platform a combo box's accessible name is its current text, and screen
        // readers take what it is for from the label that names it as its buddy.
        if (c.kind == ControlKind::ComboBox) {
            auto* label = new QLabel(text(c.accessibleName), parent);
            label->setBuddy(w);
            label->hide();
            // Focus enters the list's edit field, which a screen reader would call only "edit".
            if (QLineEdit* field = static_cast<QComboBox*>(w)->lineEdit())
                field->setAccessibleName(text(c.accessibleName));
        }
    }
    w->setEnabled(!(c.style & WS_DISABLED));
    return w;
}

double DialogBuilder::captionStretch(const DialogTemplate& dialog, const QWidget* parent) {
    // A page is measured when it is made and again when its window is created; the answer
    // only changes with the controls, the font and the style.
    static QHash<QPair<const ControlTemplate*, QString>, double> known;
    const QPair<const ControlTemplate*, QString> key(
        dialog.controls.data(), QString::number(dialog.controls.size()) + QLatin1Char('/') +
                                    parent->font().key() + QLatin1Char('/') +
                                    parent->style()->name());
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;

    // The toolkit's check marks and button frames take more room than the platform's, and a
    // font's captions may run wider than its average letter: measure every caption that must
    // stay on one line against its box, on widgets made only for that. One widget of each
    // kind measures all captions of that kind.
    QWidget scratch;
    scratch.setFont(parent->font());
    const DialogUnits du(scratch.font());
    std::unique_ptr<QWidget> check, plainLabel, framedLabel, button;
    double stretch = 1.0;
    for (const ControlTemplate& c : dialog.controls) {
        const bool oneLine = c.kind == ControlKind::CheckBox || c.kind == ControlKind::PushButton ||
                             (c.kind == ControlKind::Static && c.cy <= kOneLineStatic);
        if (!oneLine || !c.caption || c.cx <= 0)
            continue;
        std::unique_ptr<QWidget>& measure = c.kind == ControlKind::CheckBox     ? check
                                            : c.kind == ControlKind::PushButton ? button
                                            : (c.style & WS_EX_STATICEDGE)      ? framedLabel
                                                                                : plainLabel;
        if (!measure)
            measure.reset(createControl(c, &scratch, du));
        else if (auto* box = qobject_cast<QAbstractButton*>(measure.get()))
            box->setText(text(c.caption));
        else
            static_cast<QLabel*>(measure.get())->setText(text(c.caption));
        const QWidget* w = measure.get();
        int needed;
        if (c.kind == ControlKind::PushButton) {
            // A button's size hint has a minimum width of its own; only the caption counts.
            const QStyle* style = w->style();
            needed = w->fontMetrics().horizontalAdvance(text(c.caption)) +
                     style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w) +
                     2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
        } else {
            needed = w->sizeHint().width();
        }
        stretch = qMax(stretch, needed / du.exactPixelsX(c.cx));
    }
    known.insert(key, stretch);
    return stretch;
}

QHash<int, QWidget*> DialogBuilder::build(const DialogTemplate& dialog, QWidget* parent) {
    const DialogUnits du(parent->font(), captionStretch(dialog, parent));
    QHash<int, QWidget*> controls;
    std::vector<QWidget*> groups;
    for (const ControlTemplate& c : dialog.controls) {
        QWidget* w = createControl(c, parent, du);
        if (c.id != IDC_STATIC)
            controls.insert(c.id, w);
        if (c.kind == ControlKind::GroupBox)
            groups.push_back(w);
        w->show();
    }
    // Frames stay behind the controls they surround, so they never catch a click meant for one.
    for (QWidget* group : groups)
        group->lower();
    return controls;
}

QSize DialogBuilder::pageSize(const DialogTemplate& dialog, const QWidget* parent) {
    return DialogUnits(parent->font(), captionStretch(dialog, parent))
        .toPixels(dialog.cx, dialog.cy);
}
