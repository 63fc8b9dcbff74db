// Reads what another process shows on screen, as an accessibility tool would: every visible
// top-level window with its controls, list rows, tree items, status-bar parts and combo entries.
// It sends only queries and never clicks; the end-to-end run drives the program with xdotool.
// It also tells how the system fonts of the list, the status bar and the boxes draw.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr UINT kTimeoutMs = 3000;

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    // One record per line and tab-separated fields: keep both out of the texts.
    for (char& c : out) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return out;
}

class Output {
public:
    void Line(const std::vector<std::string>& fields)
    {
        std::string line;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i) line += '\t';
            line += fields[i];
        }
        line += '\n';
        text_ += line;
    }
    bool Flush()
    {
        DWORD written = 0;
        return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text_.data(),
                         static_cast<DWORD>(text_.size()), &written, nullptr) &&
               written == text_.size();
    }

private:
    std::string text_;
};

// A scratch page in the other process for the controls whose messages carry pointers that the
// system does not copy between processes (list view, tree view, status bar).
class RemotePage {
public:
    explicit RemotePage(HWND window)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            base_ = static_cast<char*>(
                VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemotePage()
    {
        if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemotePage(const RemotePage&) = delete;
    RemotePage& operator=(const RemotePage&) = delete;

    bool ok() const { return base_ != nullptr; }
    // Layout of the page: a structure at the start, a text buffer after it.
    char* at(size_t offset) const { return base_ + offset; }
    bool Write(size_t offset, const void* data, size_t size) const
    {
        SIZE_T done = 0;
        return WriteProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
    }
    bool Read(size_t offset, void* data, size_t size) const
    {
        SIZE_T done = 0;
        return ReadProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
    }
    std::wstring ReadText(size_t offset, size_t chars) const
    {
        std::vector<wchar_t> buffer(chars + 1, L'\0');
        if (!Read(offset, buffer.data(), chars * sizeof(wchar_t))) return L"?";
        buffer[chars] = L'\0';
        return buffer.data();
    }

    static constexpr size_t kSize = 8192;
    static constexpr size_t kTextOffset = 1024;
    static constexpr size_t kTextChars = (kSize - kTextOffset) / sizeof(wchar_t) - 1;

private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
};

LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kTimeoutMs,
                             &result))
        return -1;
    return static_cast<LRESULT>(result);
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[1024] = {};
    InternalGetWindowText(window, text, 1024);
    return text;
}

std::string Centre(HWND window, RECT rect)
{
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    if (window) ClientToScreen(window, &centre);
    return std::to_string(centre.x) + "\t" + std::to_string(centre.y);
}

std::string WindowCentre(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return Centre(nullptr, rect);
}

void ListRows(Output& out, const std::string& top, HWND list)
{
    RemotePage page(list);
    if (!page.ok()) return;
    HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
    LRESULT columns = header ? Send(header, HDM_GETITEMCOUNT, 0, 0) : 1;
    if (columns < 1) columns = 1;
    LRESULT rows = Send(list, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT row = 0; row < rows; ++row) {
        std::vector<std::string> fields = {"row", top, std::to_string(row)};
        LRESULT state = Send(list, LVM_GETITEMSTATE, row, LVIS_SELECTED);
        fields.push_back((state & LVIS_SELECTED) ? "1" : "0");
        RECT rect = {};
        rect.left = LVIR_LABEL;
        page.Write(0, &rect, sizeof rect);
        if (Send(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(page.at(0))) > 0)
            page.Read(0, &rect, sizeof rect);
        fields.push_back(Centre(list, rect));
        for (LRESULT column = 0; column < columns; ++column) {
            LVITEMW item = {};
            item.iSubItem = static_cast<int>(column);
            item.pszText = reinterpret_cast<LPWSTR>(page.at(RemotePage::kTextOffset));
            item.cchTextMax = RemotePage::kTextChars;
            page.Write(0, &item, sizeof item);
            LRESULT length =
                Send(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(page.at(0)));
            fields.push_back(length > 0 ? Utf8(page.ReadText(RemotePage::kTextOffset, length))
                                        : "");
        }
        out.Line(fields);
    }
}

void TreeItems(Output& out, const std::string& top, HWND tree, HTREEITEM item, int depth,
               RemotePage& page)
{
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        TVITEMW data = {};
        data.mask = TVIF_TEXT | TVIF_HANDLE;
        data.hItem = item;
        data.pszText = reinterpret_cast<LPWSTR>(page.at(RemotePage::kTextOffset));
        data.cchTextMax = RemotePage::kTextChars;
        page.Write(0, &data, sizeof data);
        std::wstring text;
        if (Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(page.at(0))) > 0) {
            text = page.ReadText(RemotePage::kTextOffset, RemotePage::kTextChars);
        }
        LRESULT state = Send(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                             TVIS_SELECTED | TVIS_EXPANDED);
        HTREEITEM child = reinterpret_cast<HTREEITEM>(
            Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        // The item's handle goes in where the rectangle comes back.
        RECT rect = {};
        page.Write(0, &item, sizeof item);
        std::string where = "-\t-";
        if (Send(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(page.at(0))) > 0 &&
            page.Read(0, &rect, sizeof rect)) {
            where = Centre(tree, rect);
        }
        out.Line({"item", top, std::to_string(depth), (state & TVIS_SELECTED) ? "1" : "0",
                  (state & TVIS_EXPANDED) ? "1" : "0", child ? "1" : "0", where, Utf8(text)});
        TreeItems(out, top, tree, child, depth + 1, page);
    }
}

void StatusParts(Output& out, const std::string& top, HWND bar)
{
    RemotePage page(bar);
    if (!page.ok()) return;
    LRESULT parts = Send(bar, SB_GETPARTS, 0, 0);
    for (LRESULT part = 0; part < parts; ++part) {
        LRESULT length = LOWORD(Send(bar, SB_GETTEXTLENGTHW, part, 0));
        std::wstring text;
        if (length > 0 && static_cast<size_t>(length) < RemotePage::kTextChars) {
            Send(bar, SB_GETTEXTW, part,
                 reinterpret_cast<LPARAM>(page.at(RemotePage::kTextOffset)));
            text = page.ReadText(RemotePage::kTextOffset, length);
        }
        out.Line({"part", top, std::to_string(part), Utf8(text)});
    }
}

void ComboEntries(Output& out, const std::string& top, HWND combo)
{
    LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
    LRESULT current = Send(combo, CB_GETCURSEL, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // Messages below WM_USER are copied between processes by the system.
        wchar_t text[MAX_PATH + 1] = {};
        LRESULT length = Send(combo, CB_GETLBTEXTLEN, i, 0);
        if (length >= 0 && length <= MAX_PATH)
            Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        out.Line({"entry", top, std::to_string(i), i == current ? "1" : "0", Utf8(text)});
    }
}

struct TopLevel {
    HWND window;
    std::string title;
    Output* out;
};

BOOL CALLBACK DumpChild(HWND child, LPARAM param)
{
    const TopLevel& top = *reinterpret_cast<TopLevel*>(param);
    if (!IsWindowVisible(child)) return TRUE;
    std::wstring cls = ClassOf(child);
    LRESULT checked = 0;
    if (_wcsicmp(cls.c_str(), L"Button") == 0) checked = Send(child, BM_GETCHECK, 0, 0);
    top.out->Line({"control", top.title, std::to_string(GetDlgCtrlID(child)), Utf8(cls),
                   IsWindowEnabled(child) ? "1" : "0", std::to_string(checked), WindowCentre(child),
                   Utf8(TextOf(child))});
    if (_wcsicmp(cls.c_str(), WC_LISTVIEWW) == 0) ListRows(*top.out, top.title, child);
    if (_wcsicmp(cls.c_str(), STATUSCLASSNAMEW) == 0) StatusParts(*top.out, top.title, child);
    if (_wcsicmp(cls.c_str(), WC_COMBOBOXW) == 0) ComboEntries(*top.out, top.title, child);
    if (_wcsicmp(cls.c_str(), WC_TREEVIEWW) == 0) {
        RemotePage page(child);
        HTREEITEM root = reinterpret_cast<HTREEITEM>(Send(child, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        if (page.ok()) TreeItems(*top.out, top.title, child, root, 0, page);
    }
    return TRUE;
}

BOOL CALLBACK DumpTopLevel(HWND window, LPARAM param)
{
    if (!IsWindowVisible(window)) return TRUE;
    Output& out = *reinterpret_cast<Output*>(param);
    TopLevel top = {window, Utf8(TextOf(window)), &out};
    // Untitled windows are left out, except open menus, so that a run can wait for one.
    bool menu = ClassOf(window) == L"#32768";
    if (top.title.empty() && !menu) return TRUE;
    if (menu) top.title = "menu";
    out.Line({"window", top.title, Utf8(ClassOf(window)), IsWindowEnabled(window) ? "1" : "0",
              WindowCentre(window)});
    EnumChildWindows(window, DumpChild, reinterpret_cast<LPARAM>(&top));
    return TRUE;
}

// One character drawn as the system draws it in a line of the font: black on white, clipped
// to the font's cell, as a row of a list or a line of a message box clips it.
class Glyph {
public:
    Glyph(HFONT font, wchar_t character)
    {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        HGDIOBJ oldFont = SelectObject(dc, font);
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc, &metrics);
        height_ = metrics.tmHeight;
        wchar_t face[LF_FACESIZE] = {};
        if (GetTextFaceW(dc, LF_FACESIZE, face) > 0) face_ = face;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && bits) {
            HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
            RECT cell = {0, 0, kWidth, height_};
            FillRect(dc, &cell, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkMode(dc, TRANSPARENT);
            TextOutW(dc, 2, 0, &character, 1);
            GdiFlush();
            const auto* pixels = static_cast<const DWORD*>(bits);
            for (int y = 0; y < height_; ++y) {
                int dark = 0;
                for (int x = 0; x < kWidth; ++x) {
                    if ((pixels[y * kWidth + x] & 0xFF) < 0x80) ++dark;
                }
                darkPerRow_.push_back(dark);
            }
            SelectObject(dc, oldBitmap);
            DeleteObject(bitmap);
        }
        SelectObject(dc, oldFont);
        DeleteDC(dc);
    }

    // The face the font mapper chose, which may differ from the one asked for.
    const std::wstring& Face() const { return face_; }
    int Dark() const
    {
        int all = 0;
        for (int dark : darkPerRow_) all += dark;
        return all;
    }
    int WidestRow() const
    {
        int widest = 0;
        for (int dark : darkPerRow_) widest = dark > widest ? dark : widest;
        return widest;
    }

private:
    static constexpr int kWidth = 32;
    int height_ = 0;
    std::wstring face_;
    std::vector<int> darkPerRow_;
};

// How the system fonts of a list (icon titles), a status bar and a message box draw a
// backslash (a thin diagonal, or the yen sign's bars) and whether an underscore is seen.
void DumpFonts(Output& out)
{
    LOGFONTW icon = {};
    SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(icon), &icon, 0);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    const struct {
        const char* kind;
        LOGFONTW font;
    } kinds[] = {
        {"list", icon}, {"status", metrics.lfStatusFont}, {"message", metrics.lfMessageFont}};
    for (const auto& kind : kinds) {
        HFONT font = CreateFontIndirectW(&kind.font);
        const Glyph backslash(font, L'\\');
        const Glyph underscore(font, L'_');
        out.Line({"font", kind.kind, Utf8(kind.font.lfFaceName) + " as " + Utf8(backslash.Face()),
                  backslash.WidestRow() >= 4 ? "yen" : "backslash",
                  underscore.Dark() > 0 ? "drawn" : "missing"});
        DeleteObject(font);
    }
}

}  // namespace

// With the argument "fonts", how the system fonts draw; otherwise what the windows show.
int wmain(int argc, wchar_t** argv)
{
    Output out;
    if (argc > 1 && wcscmp(argv[1], L"fonts") == 0) {
        DumpFonts(out);
    } else {
        EnumWindows(DumpTopLevel, reinterpret_cast<LPARAM>(&out));
    }
    return out.Flush() ? 0 : 1;
}
