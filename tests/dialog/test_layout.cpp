#include "platform/dialog/DialogBuilder.h"
#include "support/SheetHarness.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

// The width a control needs to show its caption on one line, or 0 when it has none to show.
int NeededWidth(const ControlTemplate& c, const QWidget* w) {
    switch (c.kind) {
    case ControlKind::CheckBox:
        return w->sizeHint().width();
    case ControlKind::PushButton:
        return w->fontMetrics().horizontalAdvance(QString::fromLatin1(c.caption)) +
               w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
    case ControlKind::Static:
        return qobject_cast<const QLabel*>(w)->wordWrap() ? 0 : w->sizeHint().width();
    default:
        return 0;
    }
}

// Every page fits every caption in its box, keeps its controls apart and inside the page.
void ExpectLegible(CPropertySheet& sheet) {
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        ASSERT_TRUE(sheet.SetActivePage(i));
        const CPropertyPage& page = *sheet.GetPage(i);
        const std::string name = page.GetCaption().toStdString();
        std::vector<std::pair<QRect, std::string>> boxes;
        for (const QObject* child : page.children()) {
            const auto* w = qobject_cast<const QWidget*>(child);
            if (!w || w->isHidden())
                continue;
            const std::string what =
                name + " " + w->metaObject()->className() + " " + w->objectName().toStdString();
            EXPECT_TRUE(page.rect().contains(w->geometry())) << what << " leaves the page";
            if (!qobject_cast<const QGroupBox*>(w))
                boxes.emplace_back(w->geometry(), what);
        }
        for (std::size_t a = 0; a < boxes.size(); ++a)
            for (std::size_t b = a + 1; b < boxes.size(); ++b)
                EXPECT_FALSE(boxes[a].first.intersects(boxes[b].first))
                    << boxes[a].second << " overlaps " << boxes[b].second;
        for (const ControlTemplate& c : page.dialogTemplate().controls) {
            if (c.id == IDC_STATIC || !c.caption)
                continue;
            const QWidget* w = page.GetDlgItem(c.id);
            EXPECT_LE(NeededWidth(c, w), w->width()) << name << " clips \"" << c.caption << '"';
        }
    }
}

} // namespace

TEST_F(RealSheet, EveryPageIsLegibleInTheDefaultFont) {
    ExpectLegible(sheet);
}

// A larger system font, in place before the sheet and its pages are made, as at start-up.
struct LargeFont {
    QFont previous = QApplication::font();
    LargeFont() {
        QFont large = previous;
        large.setPointSizeF(previous.pointSizeF() * 1.75);
        QApplication::setFont(large);
    }
    ~LargeFont() { QApplication::setFont(previous); }
};

struct LargeFontSheet : LargeFont, RealSheet {};

TEST_F(LargeFontSheet, EveryPageIsLegibleInALargeFont) {
    ExpectLegible(sheet);
    // Dialog units follow the font, so the pages grow with it.
    QWidget normal;
    normal.setFont(previous);
    EXPECT_GT(sheet.GetPage(0)->width(),
              DialogBuilder::pageSize(sheet.GetPage(0)->dialogTemplate(), &normal).width() * 3 / 2);
}
