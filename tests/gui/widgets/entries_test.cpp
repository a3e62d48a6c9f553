// Entries, spin buttons and the filtering entry of passwords and department codes.
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gui/kit/GuiActions.h"
#include "gui/kit/RecordingOwner.h"
#include "gui/widgets/Widgets.h"

using orvgui::Notification;
using orvgui::Notify;
using orvgui::RecordingOwner;

namespace {

struct FilterCase {
    const char* name;
    int nFilter;
    const char* extra;
    const char* inserted;
    const char* expected;
};

const FilterCase kFilterCases[] = {
    {"DigitsKeepDigits", ENTRY_FILTER_ON | ENTRY_FILTER_DIGIT, nullptr, "12a3", "123"},
    {"OnAloneRefusesEverything", ENTRY_FILTER_ON, nullptr, "abc123-/", ""},
    {"NoSlashDropsOnlySlashes", ENTRY_FILTER_ON | ENTRY_FILTER_NOSLASH, nullptr, "a/b", "ab"},
    {"ExtraAdmitsItsCharacters", ENTRY_FILTER_ON | ENTRY_FILTER_EXTRA, "-_", "a-b_c1", "-_"},
    {"ExtraWithoutSetAdmitsNothing", ENTRY_FILTER_ON | ENTRY_FILTER_EXTRA, nullptr, "a-b_", ""},
    {"AlnumKeepsLettersAndDigits", ENTRY_FILTER_ON | ENTRY_FILTER_ALNUM, nullptr, "Ab9 .-", "Ab9"},
    {"AnyBitAccepts", ENTRY_FILTER_ON | ENTRY_FILTER_DIGIT | ENTRY_FILTER_EXTRA, "#", "1#a2", "1#2"},
    {"FilterOffLetsEverythingIn", ENTRY_FILTER_DIGIT | ENTRY_FILTER_EXTRA, "x", "a/b-1 !", "a/b-1 !"},
    {"OwnerMarksMeanNothing", 0x4000 | 0x100, nullptr, "Job 7/", "Job 7/"},
    // Multi-byte characters are refused whole, whatever the flags.
    {"JapaneseRefused", 0, nullptr, "\xE3\x81\x82", ""},
    {"AccentedLatinRefused", ENTRY_FILTER_ON | ENTRY_FILTER_ALNUM, nullptr, "caf\xC3\xA9", ""},
    {"MixedTextRefusedWhole", ENTRY_FILTER_NOSLASH, nullptr, "ab\xC3\xA9" "cd", ""},
};

// Pasted text goes through "insert-text" as typed text does.
TEST(EntryNoWideFilter, InsertedTextKeepsOnlyTheAcceptedBytes)
{
    for (const FilterCase& c : kFilterCases) {
        SCOPED_TRACE(c.name);
        xEntryNoWide entry(nullptr, 1, 20, 0);
        entry.SetFilter(c.nFilter, c.extra);
        gint nPosition = 0;
        gtk_editable_insert_text(GTK_EDITABLE(entry.GetGtkWidget()), c.inserted, -1, &nPosition);
        EXPECT_STREQ(entry.GetText(), c.expected);
        EXPECT_EQ(nPosition, static_cast<gint>(std::strlen(c.expected)));
    }
}

// Accepted bytes go in where the text was inserted, and the position moves past them.
TEST(EntryNoWideFilter, FilteredTextGoesInAtTheInsertPosition)
{
    xEntryNoWide entry(nullptr, 1, 20, ENTRY_FILTER_ON | ENTRY_FILTER_DIGIT);
    gint nPosition = 0;
    gtk_editable_insert_text(GTK_EDITABLE(entry.GetGtkWidget()), "1289", -1, &nPosition);
    nPosition = 2;
    gtk_editable_insert_text(GTK_EDITABLE(entry.GetGtkWidget()), "x3y4z", -1, &nPosition);
    EXPECT_STREQ(entry.GetText(), "123489");
    EXPECT_EQ(nPosition, 4);
}

// Only the given number of bytes counts: text beyond it is never looked at.
TEST(EntryNoWideFilter, WorksOverTheGivenLengthOnly)
{
    xEntryNoWide entry(nullptr, 1, 20, ENTRY_FILTER_ON | ENTRY_FILTER_DIGIT);
    const char text[] = {'1', 'a', '2', '\xE3', '\x81', '\x82'};
    gint nPosition = 0;
    gtk_editable_insert_text(GTK_EDITABLE(entry.GetGtkWidget()), text, 3, &nPosition);
    EXPECT_STREQ(entry.GetText(), "12");
}

// The entry holds passwords: its diagnostics may give the length, never the text.
TEST(EntryNoWideFilter, PrintsNoEnteredText)
{
    for (int nFilter : {0, ENTRY_FILTER_ON | ENTRY_FILTER_DIGIT}) {
        xEntryNoWide entry(nullptr, 1, 20, nFilter);
        testing::internal::CaptureStdout();
        gint nPosition = 0;
        gtk_editable_insert_text(GTK_EDITABLE(entry.GetGtkWidget()), "Secret42", -1, &nPosition);
        std::fflush(stdout);
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(printed.find("Secret"), std::string::npos) << printed;
        EXPECT_EQ(printed.find("42"), std::string::npos) << printed;
        EXPECT_NE(printed.find("len = 8"), std::string::npos) << printed;
    }
}

// Typed keys arrive one by one through the entry's input method.
TEST(EntryNoWideFilter, TypedKeysAreFilteredToo)
{
    RecordingOwner recorder;
    xWindow window(nullptr);
    xEntryNoWide entry(&recorder, 6, 20, ENTRY_FILTER_ON | ENTRY_FILTER_DIGIT | ENTRY_FILTER_EXTRA);
    entry.SetFilter(entry.GetFilter(), "-");
    window.Add(&entry);
    window.ShowAll();
    orvgui::PumpEvents();
    gtk_widget_grab_focus(entry.GetGtkWidget());
    recorder.Clear();
    orvgui::TypeText(window.GetGtkWidget(), "4a-2/");
    EXPECT_STREQ(entry.GetText(), "4-2");
    EXPECT_EQ(recorder.Of(Notify::EditChanged).size(), 3u);
    gtk_widget_destroy(window.GetGtkWidget());
}

TEST(EntryNoWideFilter, AcceptsOneByteAtATime)
{
    struct Case {
        int nFilter;
        const char* extra;
        unsigned char ch;
        bool bAccepted;
    };
    const Case cases[] = {
        {ENTRY_FILTER_DIGIT, nullptr, '0', true},     {ENTRY_FILTER_DIGIT, nullptr, '9', true},
        {ENTRY_FILTER_DIGIT, nullptr, 'a', false},    {ENTRY_FILTER_ALNUM, nullptr, 'Z', true},
        {ENTRY_FILTER_ALNUM, nullptr, '_', false},    {ENTRY_FILTER_NOSLASH, nullptr, '/', false},
        {ENTRY_FILTER_NOSLASH, nullptr, '\\', true},  {ENTRY_FILTER_EXTRA, "-_", '_', true},
        {ENTRY_FILTER_EXTRA, "-_", '.', false},       {ENTRY_FILTER_EXTRA, nullptr, '-', false},
        {ENTRY_FILTER_NOSLASH | ENTRY_FILTER_EXTRA, "", '\0', false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EntryFilterAccepts(c.nFilter, c.extra, c.ch), c.bAccepted)
            << "flags " << c.nFilter << " byte " << int(c.ch);
    }
}

TEST(Entries, SettersAndTheirNotifications)
{
    RecordingOwner recorder;
    xEntry entry(&recorder, 3, 0);
    entry.SetText("abc");
    entry.SetText("abc");
    entry.SetText(nullptr);
    EXPECT_STREQ(entry.GetText(), "");
    // Setting a text replaces the old one (a deletion) and inserts the new one; the same text
    // again still rewrites it.
    EXPECT_FALSE(recorder.Of(Notify::EditChanged).empty());
    for (const Notification& n : recorder.Log()) {
        EXPECT_EQ(n, (Notification{Notify::EditChanged, 3}));
    }
    entry.SetMaxLength(8);
    EXPECT_EQ(entry.GetMaxLength(), 8);
    entry.SetReadOnly(1);
    EXPECT_FALSE(gtk_editable_get_editable(GTK_EDITABLE(entry.GetGtkWidget())));
    entry.SetPassword(1);
    EXPECT_FALSE(gtk_entry_get_visibility(GTK_ENTRY(entry.GetGtkWidget())));
    entry.SetInvisibleChar('*');
    EXPECT_EQ(gtk_entry_get_invisible_char(GTK_ENTRY(entry.GetGtkWidget())), gunichar('*'));
}

TEST(SpinButtons, EditedTextAndValueNotifySeparately)
{
    RecordingOwner recorder;
    xWindow window(nullptr);
    xSpinButton spin(&recorder, 9, 0, 1, 999, 1);
    window.Add(&spin);
    window.ShowAll();
    orvgui::PumpEvents();
    EXPECT_EQ(gtk_entry_get_alignment(GTK_ENTRY(spin.GetGtkWidget())), 1.0f);
    EXPECT_TRUE(gtk_spin_button_get_numeric(GTK_SPIN_BUTTON(spin.GetGtkWidget())));

    gtk_widget_grab_focus(spin.GetGtkWidget());
    gtk_editable_select_region(GTK_EDITABLE(spin.GetGtkWidget()), 0, -1);
    recorder.Clear();
    orvgui::TypeText(window.GetGtkWidget(), "25");
    // Each keystroke changes the text; the value follows only when the text is taken.
    EXPECT_GE(recorder.Of(Notify::EditChanged).size(), 2u);
    EXPECT_TRUE(recorder.Of(Notify::ValueChanged).empty());
    recorder.Clear();
    gtk_spin_button_update(GTK_SPIN_BUTTON(spin.GetGtkWidget()));
    EXPECT_EQ(spin.GetValueInt(), 25);
    EXPECT_EQ(recorder.Of(Notify::ValueChanged), (std::vector<Notification>{{Notify::ValueChanged, 9}}));
    gtk_widget_destroy(window.GetGtkWidget());
}

TEST(SpinButtons, GetValueIntRoundsToTheNearest)
{
    struct Case {
        double dValue;
        int nExpected;
    };
    const Case cases[] = {{2.4, 2}, {2.6, 3}, {-2.6, -3}, {0.0, 0}};
    xSpinButton spin(nullptr, 1, 1, -10, 10, 0.1);
    for (const Case& c : cases) {
        spin.SetValue(c.dValue);
        EXPECT_EQ(spin.GetValueInt(), c.nExpected) << c.dValue;
    }
    spin.SetRange(0, 5);
    spin.SetValue(9);
    EXPECT_DOUBLE_EQ(spin.GetValue(), 5.0);
}

}  // namespace
