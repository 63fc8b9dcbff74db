// The About box run from the Help menu: strings, title font, memory, object store and
// storage-card lines from a device the test describes, fresh at every run.
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/resource_ids.h"
#include "glimmer_version.h"
#include "tests/app/about_view.h"
#include "tests/app/app_fixture.h"
#include "tests/support/expected_texts.h"

namespace {

constexpr std::uint64_t kKiB = 1024;

class GlimmerAbout : public MainWindowTest {
protected:
    // Runs the About box from the menu, reads it while it is up and presses OK.
    AboutView ShowAbout()
    {
        AboutView view;
        answerer_.Queue(IDOK, [&](HWND dialog) { view = ReadAbout(dialog); });
        Command(IDC_ABOUT);
        EXPECT_EQ(0u, answerer_.Pending());
        return view;
    }

    void TypicalDevice()
    {
        device_.program = StoreFigures{16384 * kKiB, 5120 * kKiB};
        device_.store = StoreFigures{3000 * kKiB + 100, 1000 * kKiB + 1000};
    }
};

TEST_F(GlimmerAbout, ShowsNameVersionAndFiguresInEnglish)
{
    TypicalDevice();
    device_.root.push_back({L"Windows", FILE_ATTRIBUTE_DIRECTORY});
    device_.AddCard(L"Storage Card", 2048000, 1024000);
    AboutView view = ShowAbout();
    EXPECT_EQ(English(TextId::AboutTitle), view.caption);
    EXPECT_EQ(L"Korvel Glimmer for Windows CE", view.lines[IDC_ABOUT_NAME]);
    EXPECT_EQ(L"Version " GLIMMER_VERSION, view.lines[IDC_ABOUT_VERSION]);
    EXPECT_NE(L"", view.lines[IDC_ABOUT_LINE_3]);
    EXPECT_EQ(L"", view.lines[IDC_ABOUT_LINE_4]) << "no string: the template's text stays";
    EXPECT_EQ(L"", view.lines[IDC_ABOUT_LINE_5]);
    EXPECT_EQ(English(TextId::ProgramMemoryLabel) + L": 5120/16384KB (31%)",
              view.lines[IDC_ABOUT_PROGRAM_MEMORY]);
    EXPECT_EQ(English(TextId::ObjectStoreLabel) + L": 1000/3000KB (33%)",
              view.lines[IDC_ABOUT_OBJECT_STORE]);
    EXPECT_EQ(L"Storage Card: 1000/2000KB (50%)", view.lines[IDC_ABOUT_CARD_1]);
    EXPECT_EQ(L"", view.lines[IDC_ABOUT_CARD_2]);
    EXPECT_EQ(English(TextId::FreeMemoryGroup), view.groupTitle);
    EXPECT_EQ(FW_BOLD, view.titleFont.lfWeight);
    EXPECT_EQ(-12, view.titleFont.lfHeight);
    EXPECT_STREQ(L"Tahoma", view.titleFont.lfFaceName);
    EXPECT_EQ(DEFAULT_CHARSET, view.titleFont.lfCharSet);
}

TEST_F(GlimmerAbout, TwoCardsAreShownAndAThirdIsNot)
{
    TypicalDevice();
    device_.AddCard(L"CF Card", 100 * kKiB, 25 * kKiB);
    device_.root.push_back({L"Not a card", FILE_ATTRIBUTE_TEMPORARY});
    device_.AddCard(L"SD Card", 400 * kKiB, 100 * kKiB);
    device_.AddCard(L"Third", 400 * kKiB, 100 * kKiB);
    AboutView view = ShowAbout();
    EXPECT_EQ(L"CF Card: 25/100KB (25%)", view.lines[IDC_ABOUT_CARD_1]);
    EXPECT_EQ(L"SD Card: 100/400KB (25%)", view.lines[IDC_ABOUT_CARD_2]);
}

TEST_F(GlimmerAbout, NoCardsOrUnreadableCardsLeaveTheLinesEmpty)
{
    TypicalDevice();
    device_.root.push_back({L"Gone", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY});
    AboutView view = ShowAbout();
    EXPECT_EQ(L"", view.lines[IDC_ABOUT_CARD_1]);
    EXPECT_EQ(L"", view.lines[IDC_ABOUT_CARD_2]);
    device_.listingWorks = false;
    view = ShowAbout();
    EXPECT_EQ(L"", view.lines[IDC_ABOUT_CARD_1]);
}

TEST_F(GlimmerAbout, EveryRunReadsTheFiguresAfresh)
{
    TypicalDevice();
    AboutView first = ShowAbout();
    device_.program = StoreFigures{8192 * kKiB, 8192 * kKiB};
    device_.store = StoreFigures{1000, 1000};  // less than one kilobyte in all
    device_.AddCard(L"New Card", 10 * kKiB, 1 * kKiB);
    AboutView second = ShowAbout();
    EXPECT_EQ(English(TextId::ProgramMemoryLabel) + L": 5120/16384KB (31%)",
              first.lines[IDC_ABOUT_PROGRAM_MEMORY]);
    EXPECT_EQ(English(TextId::ProgramMemoryLabel) + L": 8192/8192KB (100%)",
              second.lines[IDC_ABOUT_PROGRAM_MEMORY]);
    EXPECT_EQ(English(TextId::ObjectStoreLabel) + L": 0/0KB (0%)",
              second.lines[IDC_ABOUT_OBJECT_STORE]);
    EXPECT_EQ(L"New Card: 1/10KB (10%)", second.lines[IDC_ABOUT_CARD_1]);
}

// How far a static's text reaches beyond its own width (0 or less: it fits), in pixels.
int Overhang(HWND text)
{
    wchar_t line[MAX_PATH] = L"";
    const int length = GetWindowTextW(text, line, MAX_PATH);
    HDC dc = GetDC(text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32W(dc, line, length, &extent);
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    RECT client;
    GetClientRect(text, &client);
    return extent.cx - client.right;
}

TEST_F(GlimmerAbout, TheFiguresOfADesktopFitTheirLines)
{
    // Gigabytes of memory and terabyte drives: figures of eight to ten digits.
    device_.program = StoreFigures{64ull * kKiB * kKiB * kKiB, 40ull * kKiB * kKiB * kKiB};
    device_.store =
        StoreFigures{4ull * kKiB * kKiB * kKiB * kKiB, 3ull * kKiB * kKiB * kKiB * kKiB};
    device_.AddCard(L"Storage Card", 2000ull * kKiB * kKiB * kKiB, 1999ull * kKiB * kKiB * kKiB);
    device_.AddCard(L"Storage Card2", 2000ull * kKiB * kKiB * kKiB, 1000ull * kKiB * kKiB * kKiB);
    std::map<int, int> overhang;
    std::map<int, RECT> places;
    RECT dialogArea = {};
    answerer_.Queue(IDOK, [&](HWND dialog) {
        GetClientRect(dialog, &dialogArea);
        for (int id : {IDC_ABOUT_PROGRAM_MEMORY, IDC_ABOUT_OBJECT_STORE, IDC_ABOUT_CARD_1,
                       IDC_ABOUT_CARD_2}) {
            HWND text = GetDlgItem(dialog, id);
            overhang[id] = Overhang(text);
            GetWindowRect(text, &places[id]);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&places[id]), 2);
        }
    });
    Command(IDC_ABOUT);
    ASSERT_EQ(4u, overhang.size());
    for (const auto& [id, pixels] : overhang) {
        EXPECT_LE(pixels, 0) << "line " << id << " is cut off";
        RECT inside;
        EXPECT_TRUE(IntersectRect(&inside, &places[id], &dialogArea) &&
                    EqualRect(&inside, &places[id]))
            << "line " << id << " lies outside the box";
        for (const auto& [other, place] : places) {
            RECT common;
            EXPECT_FALSE(other != id && IntersectRect(&common, &places[id], &place))
                << "lines " << id << " and " << other << " overlap";
        }
    }
}

// Where the lines of a running About box stand, in its client coordinates.
struct AboutPlaces {
    RECT client = {};
    RECT group = {};
    std::vector<RECT> shownLines;
    int hiddenLines = 0;
    RECT units = {};  // 8, 11, 6 and 5 dialog units, mapped to pixels
};

TEST_F(GlimmerAbout, TheMemoryLinesStandEvenlyInTheirGroupWithNoGapBelow)
{
    TypicalDevice();
    for (int cards = 0; cards <= 2; ++cards) {
        if (cards > 0) device_.AddCard(L"Card " + std::to_wstring(cards), 2048, 1024);
        AboutPlaces places;
        answerer_.Queue(IDOK, [&](HWND dialog) {
            auto placeOf = [dialog](HWND control) {
                RECT bounds;
                GetWindowRect(control, &bounds);
                MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
                return bounds;
            };
            GetClientRect(dialog, &places.client);
            places.group = placeOf(GetDlgItem(dialog, IDC_ABOUT_MEMORY_GROUP));
            for (int id : {IDC_ABOUT_PROGRAM_MEMORY, IDC_ABOUT_OBJECT_STORE, IDC_ABOUT_CARD_1,
                           IDC_ABOUT_CARD_2}) {
                // The line's own style: the box itself may not be shown yet.
                HWND line = GetDlgItem(dialog, id);
                if ((GetWindowLongW(line, GWL_STYLE) & WS_VISIBLE) != 0) {
                    places.shownLines.push_back(placeOf(line));
                } else {
                    ++places.hiddenLines;
                }
            }
            places.units = RECT{8, 11, 6, 5};
            MapDialogRect(dialog, &places.units);
        });
        Command(IDC_ABOUT);
        ASSERT_EQ(static_cast<size_t>(2 + cards), places.shownLines.size()) << cards << " cards";
        EXPECT_EQ(2 - cards, places.hiddenLines);
        const RECT& group = places.group;
        const RECT& first = places.shownLines.front();
        const RECT& last = places.shownLines.back();
        // Each side rounds its own dialog units to pixels.
        EXPECT_NEAR(places.units.left, first.left - group.left, 1) << "inset from the border";
        EXPECT_NEAR(places.units.left, group.right - first.right, 1) << "the same on the right";
        EXPECT_EQ(places.units.top, first.top - group.top) << "below the group's title";
        for (size_t i = 1; i < places.shownLines.size(); ++i) {
            EXPECT_EQ(places.units.top, places.shownLines[i].top - places.shownLines[i - 1].top)
                << "line " << i << " with " << cards << " cards";
        }
        EXPECT_EQ(places.units.right, group.bottom - last.bottom) << "no gap below the lines";
        EXPECT_EQ(places.units.bottom, places.client.bottom - group.bottom);
    }
}

TEST_F(GlimmerAbout, SystemFiguresAreWellFormed)
{
    AttributeList none;
    EAboutDialog about(&Main(), none);
    AboutView view;
    answerer_.Queue(IDOK, [&](HWND dialog) { view = ReadAbout(dialog); });
    EXPECT_EQ(IDOK, about.RunModal());
    unsigned long long free = 0, total = 0;
    unsigned percent = 101;
    const std::wstring programLine = English(TextId::ProgramMemoryLabel) + L": %llu/%lluKB (%u%%)";
    ASSERT_EQ(3, swscanf(view.lines[IDC_ABOUT_PROGRAM_MEMORY].c_str(), programLine.c_str(), &free,
                         &total, &percent))
        << testing::PrintToString(view.lines[IDC_ABOUT_PROGRAM_MEMORY]);
    EXPECT_GT(total, 0u);
    EXPECT_LE(free, total);
    EXPECT_EQ(free * 100 / total, percent);
    EXPECT_EQ(
        0u, view.lines[IDC_ABOUT_OBJECT_STORE].rfind(English(TextId::ObjectStoreLabel) + L": ", 0));
}

}  // namespace
