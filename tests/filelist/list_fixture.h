// A FileList in a real top-level window, the way the main window holds it, with helpers
// that read back what the list view shows. Message boxes are answered by the fixture's
// answerer; a box that nobody queued an answer for fails the test.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/shell/settings.h"
#include "filelist/file_list.h"
#include "framework/attribute_list.h"
#include "framework/view.h"
#include "framework/window_map.h"
#include "tests/support/message_box_answerer.h"

class ListFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitializeSettings(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        ASSERT_TRUE(CreateWindowMap());
        AttributeList frame;
        frame.Set(Key::Style, WS_OVERLAPPEDWINDOW | WS_VISIBLE)
            .Set(Key::X, 0)
            .Set(Key::Y, 0)
            .Set(Key::Width, 640)
            .Set(Key::Height, 400);
        owner_.reset(new View(nullptr, L"List test", frame));
        ASSERT_TRUE(IsWindow(owner_->Handle()));
        AttributeList attributes;
        attributes.Set(Key::Id, 2001)
            .Set(Key::Style, LVS_REPORT | WS_TABSTOP | WS_BORDER)
            .Set(Key::X, 0)
            .Set(Key::Y, 0)
            .Set(Key::Width, 600)
            .Set(Key::Height, 300);
        list_.reset(new FileList(owner_.get(), attributes));
        ASSERT_TRUE(IsWindow(list_->Handle()));
    }

    void TearDown() override
    {
        list_.reset();
        owner_.reset();
        DestroyWindowMap();
    }

    HWND List() const { return list_->Handle(); }

    int Rows() const { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }

    std::wstring Cell(int row, int column) const
    {
        // Room for a folder deeper than the system's usual 260 characters.
        wchar_t text[1024] = L"";
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 1024;
        SendMessageW(List(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return text;
    }

    std::vector<std::wstring> Column(int column) const
    {
        std::vector<std::wstring> texts;
        for (int row = 0; row < Rows(); ++row) texts.push_back(Cell(row, column));
        return texts;
    }

    // Every row's path, in row order.
    std::vector<std::wstring> Paths() const
    {
        const std::vector<std::wstring> paths = list_->AllPaths();
        EXPECT_EQ(static_cast<size_t>(Rows()), paths.size());
        return paths;
    }

    void Select(int row)
    {
        LVITEMW state = {};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }

    // Clicks a column header the way a person does: button down and up over the header item.
    void ClickHeader(int column)
    {
        HWND header = reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0));
        RECT bounds = {};
        ASSERT_TRUE(
            SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&bounds)));
        const LPARAM at =
            MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
        SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(header, WM_LBUTTONUP, 0, at);
    }

    MessageBoxAnswerer boxes_;
    std::unique_ptr<View> owner_;
    std::unique_ptr<FileList> list_;
};
