#include "print/win32/preview_ui.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "commands/win32/help_cursor.h"
#include "commands/win32/resource_ids.h"
#include "print/print_routines.h"
#include "print/win32/printer_job.h"
#include "util/dpi_scale.h"
#include "util/win32/gdi_handles.h"
#include "util/win32/rect_conversions.h"
#include "util/win32/scrolling.h"
#include "util/win32/window_base.h"

namespace vimbrel::win32 {
namespace {

constexpr const char* kFormClass = "TPreviewForm";
constexpr const char* kScrollBoxClass = "TPreviewScrollBox";
// The top panel, and where Image1 sits in the scroll area, at 96 dpi.
constexpr int kPanelHeight = 32;
constexpr int kPageLeft = 32, kPageTop = 34;
constexpr int kScrollLine = 16;
constexpr int kPrinterIconIndex = 16;  // shell32's printer

struct ControlPlace {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    int x, y, width, height;
};

// The top panel from left to right; the scale buttons exist but are never shown.
const ControlPlace kControls[] = {
    {IDC_PREVIEW_SETUP, "BUTTON", "", BS_PUSHBUTTON | BS_ICON | WS_TABSTOP, 4, 3, 26, 26},
    {IDC_PREVIEW_PRINT, "BUTTON", "Print", BS_PUSHBUTTON | WS_TABSTOP, 36, 4, 75, 25},
    {IDC_PREVIEW_ZOOMLABEL, "STATIC", "Zoom:", SS_RIGHT, 118, 9, 36, 16},
    {IDC_PREVIEW_ZOOM, "EDIT", "", ES_CENTER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 158, 5, 51, 22},
    {IDC_PREVIEW_TRACKBAR, TRACKBAR_CLASSA, "", TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, 214, 1, 300, 30},
    {IDCANCEL, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 520, 4, 75, 25},
    {IDC_PREVIEW_SCALEPLUS, "BUTTON", "ZoomIn", BS_PUSHBUTTON, 600, 4, 60, 25},
    {IDC_PREVIEW_SCALEMINUS, "BUTTON", "Zoom Out", BS_PUSHBUTTON, 664, 4, 60, 25},
};

// ScrollBox1 with Image1 on it: the page picture kept in a memory bitmap, scrolled, and
// clicked for the scale buttons.
class PreviewScrollBox final : public WindowBase {
public:
    PreviewScrollBox(HWND parent, TPreviewForm& form, int dpi) : form_(form), dpi_(dpi) {
        RegisterWindowClass(WindowClass{.name = kScrollBoxClass,
                                        .cursor = ::LoadCursorA(nullptr, IDC_ARROW),
                                        .background = ::GetSysColorBrush(COLOR_BTNSHADOW)});
        CreateFor(WindowArgs{.exStyle = WS_EX_CLIENTEDGE,
                             .className = kScrollBoxClass,
                             .style = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS,
                             .x = 0, .y = ScaleToDpi(kPanelHeight, dpi), .width = 100, .height = 100,
                             .parent = parent,
                             .menu = reinterpret_cast<HMENU>(INT_PTR(IDC_PREVIEW_SCROLLBOX))});
    }

    void SetPageSize(PageSize size) {
        WindowDC screen(nullptr);
        size_ = size;
        // The old page leaves its DC while both still exist; then either can go.
        selected_.reset();
        memory_.reset(::CreateCompatibleDC(screen.get()));
        page_.reset(::CreateCompatibleBitmap(screen.get(), std::max(size.width, 1), std::max(size.height, 1)));
        selected_.emplace(memory_.get(), page_.get());
        UpdateScrollBars();
    }

    void DrawPage(const Bitmap& picture, const PreviewPlacement& p) {
        if (&picture != dibFrom_) {
            dib_ = MakePrintableDib(picture);
            dibFrom_ = &picture;
        }
        RECT all{0, 0, size_.width, size_.height};
        ::FillRect(memory_.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = dib_.width;
        info.bmiHeader.biHeight = dib_.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        ::SetStretchBltMode(memory_.get(), HALFTONE);
        ::SetBrushOrgEx(memory_.get(), 0, 0, nullptr);
        ::StretchDIBits(memory_.get(), p.left, p.top, p.Width(), p.Height(), 0, 0, dib_.width, dib_.height,
                        dib_.bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
        ::InvalidateRect(hwnd_, nullptr, TRUE);
    }

    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
    void SetDpi(int dpi) {
        dpi_ = dpi;
        UpdateScrollBars();
    }

    // Image1 on the screen, for the tests that click it.
    Rect PageRect() const {
        return Rect::At(RelativeTo(Point{ScaleToDpi(kPageLeft, dpi_), ScaleToDpi(kPageTop, dpi_)}, FromPOINT(origin_)),
                        size_);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wp, LPARAM lp) override {
        switch (message) {
        case WM_PAINT: {
            PaintDC paint(hwnd_);
            if (memory_) {
                const Rect page = PageRect();
                ::BitBlt(paint.get(), page.left, page.top, page.Width(), page.Height(), memory_.get(), 0, 0, SRCCOPY);
            }
            return 0;
        }
        case WM_SIZE: UpdateScrollBars(); return 0;
        case WM_HSCROLL:
        case WM_VSCROLL:
            ApplyScrollRequest(hwnd_, message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wp), ScaleToDpi(kScrollLine, dpi_),
                               message == WM_HSCROLL ? origin_.x : origin_.y);
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT && cursor_) {
                ::SetCursor(cursor_);
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            ::SetFocus(hwnd_);
            if (!PageRect().Contains(Point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)})) return 0;
            form_.Image1MouseDown(message == WM_LBUTTONDOWN   ? MouseButton::Left
                                  : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                              : MouseButton::Middle);
            return 0;
        }
        default: break;
        }
        return Default(message, wp, lp);
    }

private:
    void UpdateScrollBars() {
        RECT client{};
        ::GetClientRect(hwnd_, &client);
        origin_.x = SetScrollExtent(hwnd_, SB_HORZ, ScaleToDpi(kPageLeft, dpi_) + size_.width, client.right, origin_.x);
        origin_.y = SetScrollExtent(hwnd_, SB_VERT, ScaleToDpi(kPageTop, dpi_) + size_.height, client.bottom, origin_.y);
        ::InvalidateRect(hwnd_, nullptr, TRUE);
    }

    TPreviewForm& form_;
    int dpi_;
    PageSize size_;
    UniqueMemoryDC memory_;
    GdiBitmap page_;
    std::optional<SelectedObject> selected_;
    PrintableDib dib_;
    const Bitmap* dibFrom_ = nullptr;
    POINT origin_{0, 0};
    HCURSOR cursor_ = nullptr;
};

class PreviewFormWindow final : public WindowBase, public PreviewWindow {
public:
    PreviewFormWindow(HWND owner, TPreviewForm& form) : form_(form) {
        RegisterWindowClass(WindowClass{.name = kFormClass,
                                        .cursor = ::LoadCursorA(nullptr, IDC_ARROW),
                                        .background = ::GetSysColorBrush(COLOR_BTNFACE)});
        CreateFor(WindowArgs{.exStyle = WS_EX_CONTROLPARENT,
                             .className = kFormClass,
                             .title = kPreviewCaption,
                             .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME |
                                      WS_CLIPCHILDREN,
                             .parent = owner});
        if (!hwnd_) throw std::runtime_error("The print preview could not be opened");
        HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        for (const ControlPlace& c : kControls) {
            const bool hidden = c.id == IDC_PREVIEW_SCALEPLUS || c.id == IDC_PREVIEW_SCALEMINUS;
            HWND control = ::CreateWindowExA(0, c.className, c.text, WS_CHILD | (hidden ? 0 : WS_VISIBLE) | c.style,
                                             0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(INT_PTR(c.id)),
                                             ::GetModuleHandleA(nullptr), nullptr);
            ::SendMessageA(control, WM_SETFONT, WPARAM(font), FALSE);
        }
        dpi_ = int(::GetDpiForWindow(hwnd_));
        PlaceControls();
        ::ExtractIconExA("shell32.dll", kPrinterIconIndex, nullptr, printerIcon_.put(), 1);
        if (printerIcon_)
            ::SendMessageA(Control(IDC_PREVIEW_SETUP), BM_SETIMAGE, IMAGE_ICON, LPARAM(printerIcon_.get()));
        else
            ::SetWindowTextA(Control(IDC_PREVIEW_SETUP), "...");
        HWND bar = Control(IDC_PREVIEW_TRACKBAR);
        ::SendMessageA(bar, TBM_SETRANGE, FALSE, MAKELPARAM(kPreviewBarMin, kPreviewBarMax));
        ::SendMessageA(bar, TBM_SETTICFREQ, kPreviewBarTicks, 0);
        ::SendMessageA(bar, TBM_SETPAGESIZE, 0, kPreviewBarPageStep);
        ::SendMessageA(bar, TBM_SETLINESIZE, 0, 1);
        ::SendMessageA(bar, TBM_SETPOS, TRUE, kPreviewBarStart);
        AddHints();
        scrollBox_.emplace(hwnd_, form_, dpi_);
        FormActivate();
    }

    // Runs the window modally until it closes. A WM_QUIT met meanwhile goes back to the
    // main message loop.
    void RunModal(HWND owner) {
        const bool ownerEnabled = owner && !::EnableWindow(owner, FALSE);
        ::ShowWindow(hwnd_, SW_SHOWMAXIMIZED);
        ::SetFocus(Control(IDC_PREVIEW_ZOOM));
        MSG msg{};
        bool quit = false;
        while (!closed_) {
            const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0) {
                quit = true;
                break;
            }
            if (got < 0) break;
            if (PreviewKey(msg)) continue;
            if (::IsDialogMessageA(hwnd_, &msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (ownerEnabled) ::EnableWindow(owner, TRUE);
        if (owner) ::SetActiveWindow(owner);
        DestroyOwnedWindow();
        if (quit) ::PostQuitMessage(int(msg.wParam));
    }

    // PreviewWindow.
    void SetPageSize(PageSize size) override { scrollBox_->SetPageSize(size); }
    void DrawPage(const Bitmap& picture, const PreviewPlacement& placement) override {
        scrollBox_->DrawPage(picture, placement);
    }
    int BarPosition() override { return int(::SendMessageA(Control(IDC_PREVIEW_TRACKBAR), TBM_GETPOS, 0, 0)); }
    void SetBarPosition(int position) override {
        ::SendMessageA(Control(IDC_PREVIEW_TRACKBAR), TBM_SETPOS, TRUE, position);
    }
    void SetZoomText(const std::string& text) override { ::SetWindowTextA(Control(IDC_PREVIEW_ZOOM), text.c_str()); }
    std::string ZoomFirstLine() override {
        char text[64] = {};
        const int n = ::GetWindowTextA(Control(IDC_PREVIEW_ZOOM), text, sizeof text);
        return std::string(text, std::size_t(std::max(n, 0)));
    }
    void SelectZoomText() override { ::SendMessageA(Control(IDC_PREVIEW_ZOOM), EM_SETSEL, 0, -1); }
    void Close() override { closed_ = true; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wp, LPARAM lp) override {
        switch (message) {
        case WM_SIZE:
            PlaceScrollBox(LOWORD(lp), HIWORD(lp));
            return 0;
        case WM_DPICHANGED: {
            dpi_ = LOWORD(wp);
            PlaceControls();
            if (scrollBox_) scrollBox_->SetDpi(dpi_);
            const RECT& r = *reinterpret_cast<const RECT*>(lp);
            ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            RECT client;
            ::GetClientRect(hwnd_, &client);
            PlaceScrollBox(client.right, client.bottom);
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) FormActivate();
            break;
        case WM_CLOSE: Close(); return 0;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lp) == Control(IDC_PREVIEW_TRACKBAR) && LOWORD(wp) != TB_ENDTRACK) {
                form_.trkBar1Change();
                return 0;
            }
            break;
        case WM_COMMAND: Command(LOWORD(wp), HIWORD(wp)); return 0;
        default: break;
        }
        return Default(message, wp, lp);
    }

private:
    HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }

    void Command(int id, int code) {
        switch (id) {
        case IDC_PREVIEW_SETUP: form_.SetupSpeedButtonClick(); break;
        case IDC_PREVIEW_PRINT: form_.PrintButtonClick(); break;
        case IDCANCEL: form_.CancelButtonClick(); break;
        case IDC_PREVIEW_SCALEPLUS: form_.ScalePlusButtonClick(); break;
        case IDC_PREVIEW_SCALEMINUS: form_.ScaleMinusButtonClick(); break;
        case IDC_PREVIEW_ZOOM:
            if (code == EN_SETFOCUS) form_.memZoomEnter();
            break;
        default: break;
        }
    }

    // The form sees keys first (Enter in memZoom and the keypad's plus and minus are its
    // own); other keys then go on to the focused control as usual. True when the key was used up.
    bool PreviewKey(const MSG& msg) {
        if (msg.message != WM_KEYDOWN || (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd))) return false;
        bool usedUp = false;
        RunReported(hwnd_, [&] {
            if (msg.hwnd == Control(IDC_PREVIEW_ZOOM) && msg.wParam == VK_RETURN) {
                form_.memZoomEnterPressed();
                usedUp = true;
                return;
            }
            const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
            form_.FormKeyDown(int(msg.wParam), ctrl);
            // The keypad's plus and minus zoom; typed into memZoom as well they would spoil
            // the percentage just shown there.
            usedUp = !ctrl && (msg.wParam == VK_ADD || msg.wParam == VK_SUBTRACT);
        });
        return usedUp || closed_;
    }

    // The top panel's controls at the window's density; the design places them at 96 dpi.
    void PlaceControls() {
        for (const ControlPlace& c : kControls)
            ::MoveWindow(Control(c.id), ScaleToDpi(c.x, dpi_), ScaleToDpi(c.y, dpi_), ScaleToDpi(c.width, dpi_),
                         ScaleToDpi(c.height, dpi_), TRUE);
    }

    void PlaceScrollBox(int width, int height) {
        if (!scrollBox_) return;
        const int top = ScaleToDpi(kPanelHeight, dpi_);
        ::MoveWindow(scrollBox_->Hwnd(), 0, top, width, std::max(height - top, 0), TRUE);
    }

    void FormActivate() {
        HCURSOR cursor = LoadPreviewCursorIntoHelpSlot();
        ::SetClassLongPtrA(hwnd_, GCLP_HCURSOR, LONG_PTR(cursor));
        if (scrollBox_) scrollBox_->SetCursor(cursor);
    }

    void AddHints() {
        tips_.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr));
        const std::pair<int, const char*> hints[] = {{IDC_PREVIEW_SETUP, "Printer Setup"},
                                                     {IDC_PREVIEW_TRACKBAR, "Drag to Zoom Image"}};
        for (const auto& [id, text] : hints) {
            TTTOOLINFOA tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = hwnd_;
            tool.uId = UINT_PTR(Control(id));
            tool.lpszText = const_cast<char*>(text);
            ::SendMessageA(tips_.get(), TTM_ADDTOOLA, 0, LPARAM(&tool));
        }
    }

    TPreviewForm& form_;
    int dpi_ = kDesignDpi;
    std::optional<PreviewScrollBox> scrollBox_;
    UniqueIcon printerIcon_;
    UniqueWindow tips_;
    bool closed_ = false;
};

}  // namespace

void WinPreviewUi::ShowPreview(TPreviewForm& form) {
    PreviewFormWindow window(owner_, form);
    form.FormCreate(window);
    window.RunModal(owner_);
}

PrinterPage WinPreviewPrinter::QueryPage() {
    printers_.QueryOrientation();
    const std::vector<char>& mode = printers_.DeviceMode();
    UniquePrinterDC ic(::CreateICA("WINSPOOL", printers_.SelectedPrinter().c_str(), nullptr,
                                   mode.size() >= sizeof(DEVMODEA) ? reinterpret_cast<const DEVMODEA*>(mode.data())
                                                                   : nullptr));
    if (!ic) throw EPrinterError("The printer could not be reached");
    return PrinterPage{PageSize{::GetDeviceCaps(ic.get(), HORZRES), ::GetDeviceCaps(ic.get(), VERTRES)},
                       ::GetDeviceCaps(ic.get(), LOGPIXELSX)};
}

}  // namespace vimbrel::win32
