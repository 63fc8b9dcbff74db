// StaticCtrl and the fit-to-text sizing.
#include "framework/controls/static_ctrl.h"

#include "framework/controls/window_dc.h"

#include <cwchar>

namespace {

AttributeList& WithStaticDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, L"Static").Add(Key::SystemClass, 1);
}

}  // namespace

StaticCtrl::StaticCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithStaticDefaults(attributes))
{
    if (Handle() == nullptr) return;
    if (attributes.Has(Key::Width) && attributes.Has(Key::Height)) return;
    LONG_PTR text = 0;
    FitToText(*this,
              attributes.Get(Key::Text, &text) ? reinterpret_cast<const wchar_t*>(text) : title);
}

StaticCtrl::StaticCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

StaticCtrl::~StaticCtrl() = default;

int StaticCtrl::IsInteractive()
{
    return 0;
}

void FitToText(Window& window, const wchar_t* text)
{
    if (text == nullptr || text[0] == L'\0' || !::IsWindow(window.Handle())) return;
    SIZE extent = {};
    {
        WindowDC dc(window.Handle());
        int fit = 0;
        ::GetTextExtentExPointW(dc.Handle(), text, static_cast<int>(std::wcslen(text)), 100, &fit,
                                nullptr, &extent);
    }
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    window.GetBounds(&x, &y, &width, &height);
    ::MoveWindow(window.Handle(), x, y, extent.cx + 2 * extent.cy, extent.cy * 7 / 4, TRUE);
}
