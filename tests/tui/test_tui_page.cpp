// The terminal sheet's page model and layout, without a terminal.
#include "res/ControlIds.h"
#include "res/Dialogs.h"
#include "settings/WeaponTokens.h"
#include "tui/TuiLayout.h"
#include "tui/TuiSheet.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::vector<const DialogTemplate*> kPages{&kDialog105, &kDialog106, &kDialog134,
                                                &kDialog135, &kDialog136, &kDialog133};

std::vector<int> focusIds(const TuiPage& page) {
    std::vector<int> ids;
    for (const int index : page.focusOrder())
        ids.push_back(page.controls()[std::size_t(index)].id());
    return ids;
}

TuiControl& control(TuiPage& page, int id) {
    return page.controls()[std::size_t(page.indexOf(id))];
}

bool overlap(const CellRect& a, const CellRect& b) {
    return a.row < b.row + b.height && b.row < a.row + a.height && a.col < b.col + b.width &&
           b.col < a.col + a.width;
}

} // namespace

TEST(TuiLayout, EveryPageFitsEightyByTwentyFourAndGrowsWithTheTerminal) {
    const TuiLayout small(24, 80, kPages);
    const TuiLayout large(50, 160, kPages);
    ASSERT_TRUE(small.fits());
    EXPECT_FALSE(TuiLayout(23, 80, kPages).fits());
    EXPECT_FALSE(TuiLayout(24, 79, kPages).fits());
    const CellRect area = small.pageArea();
    EXPECT_EQ(area.row, 1); // below the tab row
    EXPECT_LT(area.row + area.height, small.buttonRow() + 1);
    for (const DialogTemplate* dialog : kPages) {
        for (const ControlTemplate& c : dialog->controls) {
            const CellRect r = small.place(c);
            SCOPED_TRACE(std::string(dialog->caption) + " control " + std::to_string(c.id) +
                         " at " + std::to_string(c.x) + "," + std::to_string(c.y));
            EXPECT_GE(r.row, area.row);
            EXPECT_LE(r.row + r.height, area.row + area.height);
            EXPECT_GE(r.col, 0);
            EXPECT_LE(r.col + r.width, 80);
            // A check box's mark and caption fit the cells its template gives it.
            if (c.kind == ControlKind::CheckBox) {
                EXPECT_LE(int(std::string(c.caption).size()) + 4, r.width);
            }
            const CellRect big = large.place(c);
            EXPECT_GE(big.width, r.width);
            EXPECT_GE(big.row - large.pageArea().row, r.row - area.row);
        }
    }
}

TEST(TuiLayout, ControlsOfAPageNeverShareACell) {
    const TuiLayout layout(24, 80, kPages);
    for (const DialogTemplate* dialog : kPages) {
        const auto& controls = dialog->controls;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                const ControlTemplate& a = controls[i];
                const ControlTemplate& b = controls[j];
                // Frames hold other controls; only what is drawn in lines must not collide.
                if (a.kind == ControlKind::GroupBox || b.kind == ControlKind::GroupBox ||
                    a.kind == ControlKind::Picture || b.kind == ControlKind::Picture)
                    continue;
                EXPECT_FALSE(overlap(layout.place(a), layout.place(b)))
                    << dialog->caption << ": " << a.id << " (" << (a.caption ? a.caption : "")
                    << ") and " << b.id << " (" << (b.caption ? b.caption : "") << ")";
            }
        }
    }
}

TEST(TuiLayout, FramesSideBySideOrOneAboveTheOtherNeverShareALine) {
    for (const auto& [lines, columns] :
         {std::pair{24, 80}, std::pair{30, 100}, std::pair{50, 200}}) {
        const TuiLayout layout(lines, columns, kPages);
        for (const DialogTemplate* dialog : kPages) {
            std::vector<CellRect> frames;
            for (const ControlTemplate& c : dialog->controls) {
                if (c.kind == ControlKind::GroupBox || c.kind == ControlKind::Picture)
                    frames.push_back(layout.place(c));
            }
            for (std::size_t i = 0; i < frames.size(); ++i) {
                for (std::size_t j = i + 1; j < frames.size(); ++j)
                    EXPECT_FALSE(overlap(frames[i], frames[j]))
                        << dialog->caption << " at " << columns << "x" << lines << ": frames " << i
                        << " and " << j;
            }
        }
    }
}

TEST(TuiLayout, AControlInsideAFrameInItsTemplateStaysInsideItsLines) {
    for (const auto& [lines, columns] :
         {std::pair{24, 80}, std::pair{30, 100}, std::pair{50, 200}}) {
        const TuiLayout layout(lines, columns, kPages);
        for (const DialogTemplate* dialog : kPages) {
            for (const ControlTemplate& frame : dialog->controls) {
                if (frame.kind != ControlKind::GroupBox)
                    continue;
                const CellRect outer = layout.place(frame);
                for (const ControlTemplate& c : dialog->controls) {
                    if (&c == &frame || c.x < frame.x || c.y < frame.y ||
                        c.x + c.cx > frame.x + frame.cx || c.y > frame.y + frame.cy)
                        continue;
                    const CellRect inner = layout.place(c);
                    SCOPED_TRACE(std::string(dialog->caption) + " " + frame.caption + " holds " +
                                 std::to_string(c.id) + " at " + std::to_string(columns) + "x" +
                                 std::to_string(lines));
                    EXPECT_GT(inner.row, outer.row);
                    EXPECT_LT(inner.row + inner.height, outer.row + outer.height);
                    EXPECT_GT(inner.col, outer.col);
                    EXPECT_LT(inner.col, outer.col + outer.width - 1);
                }
            }
        }
    }
}

TEST(TuiPage, TabReachesTheWorkingControlsInTemplateOrder) {
    EXPECT_EQ(focusIds(TuiPage(kDialog105)),
              (std::vector<int>{
                  IDC_SHOTGUN, IDC_SHOTGUN_LIST, IDC_SUPERSHOTGUN, IDC_SUPERSHOTGUN_LIST,
                  IDC_MACHINEGUN, IDC_MACHINEGUN_LIST, IDC_CHAINGUN, IDC_CHAINGUN_LIST,
                  IDC_GRENADES, IDC_GRENADES_LIST, IDC_ROCKETS, IDC_ROCKETS_LIST, IDC_HYPERBLASTER,
                  IDC_HYPERBLASTER_LIST, IDC_RAILGUN, IDC_RAILGUN_LIST, IDC_BFG, IDC_BFG_LIST}));
    EXPECT_EQ(focusIds(TuiPage(kDialog106)),
              (std::vector<int>{IDC_MOTD_ENABLED, IDC_GRAPPLE, IDC_CHOKER, IDC_CHAIN_RAILGUN,
                                IDC_EDIT_MOTD, IDC_MOTD_PREVIEW}));
    EXPECT_EQ(focusIds(TuiPage(kDialog134)),
              (std::vector<int>{IDC_NO_EXIT, IDC_CHEATING, IDC_SAME_MAP, IDC_FRAG_LIMIT,
                                IDC_TIME_LIMIT}));
    EXPECT_EQ(focusIds(TuiPage(kDialog135)),
              (std::vector<int>{IDC_ISC, IDC_HTTP, IDC_HTTP_PORT, IDC_FINGER, IDC_FINGER_PORT,
                                IDC_SENDER, IDC_BANNING, IDC_EDIT_ALLOW_FILE, IDC_EDIT_DENY_FILE}));
    EXPECT_EQ(focusIds(TuiPage(kDialog136)), (std::vector<int>{IDC_CTF, IDC_TEAMPLAY}));
    // The About page's buttons would open a browser: they show their addresses, as text.
    EXPECT_TRUE(focusIds(TuiPage(kDialog133)).empty());
}

TEST(TuiPage, PlaceholdersAreGreyedAndNeverRespond) {
    TuiPage server(kDialog134);
    const int breakable = server.indexOf(IDC_BREAKABLE_ITEMS);
    ASSERT_GE(breakable, 0);
    EXPECT_TRUE(server.controls()[std::size_t(breakable)].placeholder);
    EXPECT_FALSE(server.controls()[std::size_t(breakable)].enabled);
    server.click(breakable);
    EXPECT_FALSE(server.controls()[std::size_t(breakable)].checked);
    EXPECT_FALSE(server.modified());
    // A dependency never wakes a placeholder up.
    server.updateDependents();
    EXPECT_FALSE(server.controls()[std::size_t(breakable)].enabled);

    TuiPage ctf(kDialog136);
    for (const int id : {IDC_QUICKFIRE, IDC_RUNE_LIST_1, IDC_CTF_MORE_2})
        EXPECT_FALSE(control(ctf, id).focusable()) << id;
}

TEST(TuiPage, AWeaponUntickedGreysItsListAndTakesItOutOfTheTabOrder) {
    TuiPage weapons(kDialog105);
    for (TuiControl& c : weapons.controls())
        c.checked = c.kind() == ControlKind::CheckBox;
    weapons.updateDependents();
    ASSERT_TRUE(control(weapons, IDC_RAILGUN_LIST).enabled);

    weapons.click(weapons.indexOf(IDC_RAILGUN));
    EXPECT_FALSE(control(weapons, IDC_RAILGUN).checked);
    EXPECT_FALSE(control(weapons, IDC_RAILGUN_LIST).enabled);
    EXPECT_TRUE(control(weapons, IDC_BFG_LIST).enabled); // only its own row
    EXPECT_TRUE(weapons.modified());
    const std::vector<int> ids = focusIds(weapons);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), IDC_RAILGUN_LIST), 0);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), IDC_RAILGUN), 1);

    // A greyed list keeps its weapon and takes no other.
    control(weapons, IDC_RAILGUN_LIST).selection = 5;
    weapons.pickWeapon(weapons.indexOf(IDC_RAILGUN_LIST), 0);
    EXPECT_EQ(control(weapons, IDC_RAILGUN_LIST).selection, 5);

    weapons.click(weapons.indexOf(IDC_RAILGUN));
    EXPECT_TRUE(control(weapons, IDC_RAILGUN_LIST).enabled);
}

TEST(TuiPage, MotdAndBanningBoxesEnableTheirEditButtons) {
    TuiPage gomble(kDialog106);
    control(gomble, IDC_MOTD_ENABLED).checked = true;
    gomble.updateDependents();
    EXPECT_TRUE(control(gomble, IDC_EDIT_MOTD).enabled);
    gomble.click(gomble.indexOf(IDC_MOTD_ENABLED));
    EXPECT_FALSE(control(gomble, IDC_EDIT_MOTD).enabled);
    EXPECT_FALSE(control(gomble, IDC_MOTD_PREVIEW).enabled);
    EXPECT_TRUE(control(gomble, IDC_GRAPPLE).enabled);
    EXPECT_STREQ(control(gomble, IDC_EDIT_MOTD).editsFile, "gomble_motd.txt");

    TuiPage services(kDialog135);
    services.updateDependents(); // banning unticked
    EXPECT_FALSE(control(services, IDC_EDIT_ALLOW_FILE).enabled);
    EXPECT_FALSE(control(services, IDC_EDIT_DENY_FILE).enabled);
    services.click(services.indexOf(IDC_BANNING));
    EXPECT_TRUE(control(services, IDC_EDIT_ALLOW_FILE).enabled);
    EXPECT_TRUE(control(services, IDC_EDIT_DENY_FILE).enabled);
    EXPECT_STREQ(control(services, IDC_EDIT_DENY_FILE).editsFile, "deny.cfg");
    // Switching a service off leaves its port box as it was.
    services.click(services.indexOf(IDC_HTTP));
    EXPECT_TRUE(control(services, IDC_HTTP_PORT).enabled);
}

TEST(TuiPage, NumbersOutOfRangeAreRefusedWithTheRangeInThePagesOrder) {
    TuiPage server(kDialog134);
    const int frag = server.indexOf(IDC_FRAG_LIMIT);
    const int time = server.indexOf(IDC_TIME_LIMIT);
    server.setNumberText(frag, "0");
    server.setNumberText(time, "1000");
    EXPECT_FALSE(server.validate());

    server.setNumberText(time, "1001");
    auto refusal = server.validate();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->index, time);
    EXPECT_EQ(refusal->message, "Please enter a whole number from 0 to 1000.");

    server.setNumberText(frag, "-1"); // as loaded from a file: typing gives digits only
    refusal = server.validate();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->index, frag); // the frag limit is taken first

    server.setNumberText(frag, "");
    refusal = server.validate();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "Please enter a whole number.");

    // The finger port is taken before the web server port, though it comes second on the page.
    TuiPage services(kDialog135);
    services.setNumberText(services.indexOf(IDC_HTTP_PORT), "0");
    services.setNumberText(services.indexOf(IDC_FINGER_PORT), "65535");
    refusal = services.validate();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->index, services.indexOf(IDC_FINGER_PORT));
    EXPECT_EQ(refusal->message, "Please enter a whole number from 1 to 64000.");
    services.setNumberText(services.indexOf(IDC_FINGER_PORT), "64000");
    refusal = services.validate();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->index, services.indexOf(IDC_HTTP_PORT));
    services.setNumberText(services.indexOf(IDC_HTTP_PORT), "1");
    EXPECT_FALSE(services.validate());
}

TEST(TuiPage, TypingTakesDigitsAndBackspaceOnly) {
    TuiPage server(kDialog134);
    const int frag = server.indexOf(IDC_FRAG_LIMIT);
    for (const int key : {'4', 'x', '-', '2', ' ', '\b', '7'})
        server.typeIntoNumber(frag, key);
    EXPECT_EQ(server.controls()[std::size_t(frag)].text, "47");
}

TEST(TuiPage, ChangesMarkThePageModifiedAndNothingElseDoes) {
    TuiPage weapons(kDialog105);
    for (TuiControl& c : weapons.controls())
        c.checked = c.kind() == ControlKind::CheckBox;
    weapons.updateDependents();
    const int list = weapons.indexOf(IDC_SHOTGUN_LIST);
    weapons.controls()[std::size_t(list)].selection = 7;
    weapons.pickWeapon(list, 7); // the same weapon again
    EXPECT_FALSE(weapons.modified());
    weapons.pickWeapon(list, kWeaponCount); // no such weapon
    EXPECT_FALSE(weapons.modified());
    weapons.pickWeapon(list, 6);
    EXPECT_TRUE(weapons.modified());

    TuiPage ctf(kDialog136);
    ctf.click(ctf.indexOf(IDC_CTF));
    ctf.click(ctf.indexOf(IDC_CTF)); // back as it was, still a change
    EXPECT_FALSE(control(ctf, IDC_CTF).checked);
    EXPECT_TRUE(ctf.modified());

    // Filling a number box changes its text, which the sheet counts as a change.
    TuiPage services(kDialog135);
    services.setNumberText(services.indexOf(IDC_HTTP_PORT), "80");
    EXPECT_TRUE(services.modified());
    services.setModified(false);
    services.setNumberText(services.indexOf(IDC_HTTP_PORT), "80");
    EXPECT_FALSE(services.modified());
    services.typeIntoNumber(services.indexOf(IDC_HTTP_PORT), '\b');
    EXPECT_TRUE(services.modified());
}
