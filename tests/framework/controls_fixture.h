// Fixture of the control-wrapper tests: a window map, the common-control classes and a
// plain framework window that parents the controls under test.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "framework/window.h"
#include "tests/framework/window_fixture.h"

class ControlsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                             ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                             ICC_UPDOWN_CLASS};
        ASSERT_TRUE(InitCommonControlsEx(&classes));
        AttributeList attributes;
        attributes.Set(Key::ClassName, L"GlimmerControlsParent")
            .Set(Key::Style, WS_OVERLAPPEDWINDOW | WS_VISIBLE)
            .Set(Key::X, 10)
            .Set(Key::Y, 10)
            .Set(Key::Width, 500)
            .Set(Key::Height, 400);
        parent_ = std::make_unique<Window>(nullptr, L"Controls", attributes);
        ASSERT_TRUE(IsWindow(parent_->Handle()));
    }

    void TearDown() override
    {
        parent_.reset();
        WindowTest::TearDown();
    }

    Window* Parent() { return parent_.get(); }

    static std::wstring TextOf(HWND window)
    {
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        return text;
    }

    // Size and position of a child in its parent's client area.
    static RECT BoundsOf(HWND child)
    {
        RECT bounds = {};
        GetWindowRect(child, &bounds);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
        return bounds;
    }

private:
    std::unique_ptr<Window> parent_;
};
