// Command bands over the desktop rebar control; every band's child is a command bar.
#include "platform/command_bands.h"

#include <algorithm>
#include <cstring>

#include "platform/command_bar.h"

namespace {

REBARBANDINFOW ReadBand(const REBARBANDINFOW* given)
{
    REBARBANDINFOW band = {};
    if (given) {
        std::memcpy(&band, given, std::min<size_t>(given->cbSize, sizeof(band)));
    }
    band.cbSize = sizeof(band);
    return band;
}

// A command bar laid out by the rebar rather than by itself.
HWND CreateBandBar(HINSTANCE hinst, HWND bands, UINT id)
{
    HWND bar = CommandBar_Create(hinst, bands, static_cast<int>(id));
    if (bar) {
        SetWindowLongW(bar, GWL_STYLE,
                       GetWindowLongW(bar, GWL_STYLE) | CCS_NOPARENTALIGN | CCS_NORESIZE);
    }
    return bar;
}

BOOL InsertBand(HWND bands, REBARBANDINFOW& band, HWND bar, UINT minWidth)
{
    band.fMask |= RBBIM_CHILD | RBBIM_CHILDSIZE;
    band.hwndChild = bar;
    band.cxMinChild = minWidth;
    band.cyMinChild = static_cast<UINT>(CommandBar_Height(bar));
    if (!SendMessageW(bands, RB_INSERTBANDW, static_cast<WPARAM>(-1),
                      reinterpret_cast<LPARAM>(&band))) {
        DestroyWindow(bar);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND CommandBands_Create(HINSTANCE hinst, HWND hwndParent, UINT wID, DWORD dwStyles,
                         HIMAGELIST himl)
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&classes);
    HWND bands =
        CreateWindowExW(0, REBARCLASSNAMEW, nullptr,
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CCS_TOP |
                            CCS_NODIVIDER | (dwStyles & ~RBS_SMARTLABELS),
                        0, 0, 0, 0, hwndParent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(wID)),
                        hinst, nullptr);
    if (bands && himl) {
        REBARINFO info = {sizeof(info), RBIM_IMAGELIST, himl};
        SendMessageW(bands, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    }
    return bands;
}

BOOL CommandBands_AddBands(HWND hwndCmdBands, HINSTANCE hinst, UINT cBands, LPREBARBANDINFOW prbbi)
{
    if (!IsWindow(hwndCmdBands) || (cBands > 0 && !prbbi)) {
        return FALSE;
    }
    const BYTE* given = reinterpret_cast<const BYTE*>(prbbi);
    for (UINT i = 0; i < cBands; ++i) {
        REBARBANDINFOW band =
            ReadBand(reinterpret_cast<const REBARBANDINFOW*>(given + i * prbbi->cbSize));
        HWND bar = CreateBandBar(hinst, hwndCmdBands, band.wID);
        if (!bar || !InsertBand(hwndCmdBands, band, bar, 0)) {
            return FALSE;
        }
    }
    return TRUE;
}

HWND CommandBands_GetCommandBar(HWND hwndCmdBands, UINT uBand)
{
    REBARBANDINFOW band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_CHILD;
    if (!SendMessageW(hwndCmdBands, RB_GETBANDINFOW, uBand, reinterpret_cast<LPARAM>(&band))) {
        return nullptr;
    }
    return band.hwndChild;
}

BOOL CommandBands_AddAdornments(HWND hwndCmdBands, HINSTANCE hinst, DWORD dwFlags,
                                LPREBARBANDINFOW prbbi)
{
    if (!IsWindow(hwndCmdBands)) {
        return FALSE;
    }
    REBARBANDINFOW band = ReadBand(prbbi);
    if (!(band.fMask & RBBIM_ID)) {
        band.fMask |= RBBIM_ID;
        band.wID = 0xFFFFFFFF;
    }
    HWND bar = CreateBandBar(hinst, hwndCmdBands, band.wID);
    if (!bar || !CommandBar_AddAdornments(bar, dwFlags, 0)) {
        if (bar) {
            DestroyWindow(bar);
        }
        return FALSE;
    }
    int boxes = 1 + ((dwFlags & CMDBAR_OK) ? 1 : 0) + ((dwFlags & CMDBAR_HELP) ? 1 : 0);
    UINT width = static_cast<UINT>(boxes * CommandBar_Height(bar));
    band.fMask |= RBBIM_STYLE | RBBIM_SIZE;
    band.fStyle |= RBBS_FIXEDSIZE | RBBS_NOGRIPPER;
    band.cx = width;
    return InsertBand(hwndCmdBands, band, bar, width);
}
