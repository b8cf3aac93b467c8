#include "desktop/win32/open_picture_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "desktop/picture_preview.h"
#include "desktop/win32/open_picture_ids.h"
#include "desktop/win32/picture_box.h"
#include "util/win32/gdi_handles.h"
#include "util/win32/handles.h"
#include "util/win32/modal.h"
#include "util/win32/rect_conversions.h"
#include "util/win32/window_base.h"
#include "workspace/file_kinds.h"
#include "workspace/image_file.h"
#include "workspace/win32/dib.h"

namespace vimbrel::win32 {
namespace {

// A child's bounds in its parent's client coordinates.
Rect BoundsInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return FromRECT(r);
}

HFONT DialogFont(HWND dialog) { return reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0)); }

HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, int id) {
    HWND control = ::CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0,
                                     parent, reinterpret_cast<HMENU>(INT_PTR(id)), ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(control, WM_SETFONT, WPARAM(DialogFont(::GetParent(parent))), FALSE);
    return control;
}

// A glyph bitmap as an icon whose bottom-left colour is transparent, as tool-button
// glyphs are drawn, so that a disabled button can grey its outline.
UniqueIcon GlyphIcon(const char* resource) {
    GdiBitmap loaded(static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!loaded) return UniqueIcon();
    Bitmap colours = BitmapFromHbitmap(loaded.get(), 24);
    const int width = colours.Width(), height = colours.Height();
    const RgbQuad clear = colours.PixelColour(0, height - 1);
    const int maskStride = (width + 15) / 16 * 2;  // monochrome rows are whole words
    std::vector<BYTE> mask(size_t(maskStride) * size_t(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const RgbQuad c = colours.PixelColour(x, y);
            if (c.red != clear.red || c.green != clear.green || c.blue != clear.blue) continue;
            mask[size_t(y * maskStride + x / 8)] |= BYTE(0x80 >> (x % 8));
            colours.SetPixelColour(x, y, RgbQuad{});  // black leaves the screen as it is
        }
    GdiBitmap maskBitmap(::CreateBitmap(width, height, 1, 1, mask.data()));
    GdiBitmap colourBitmap = CreateDibSection(colours);
    ICONINFO info{TRUE, 0, 0, maskBitmap.get(), colourBitmap.get()};
    return UniqueIcon(::CreateIconIndirect(&info));
}

// The panel right of the standard controls: the picture's size, the preview and delete
// buttons with their tooltips, and the preview box in its bevelled frame.
class PicturePanelWindow final : public WindowBase {
public:
    struct Events {
        std::function<void()> PreviewButtonClick, DeleteButtonClick;
        PictureBox::Painter PaintPreview;
    };

    PicturePanelWindow(HWND dialog, Events events) : events_(std::move(events)) {
        RegisterWindowClass(WindowClass{.name = kClassName,
                                        .cursor = ::LoadCursorA(nullptr, IDC_ARROW),
                                        .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
        CreateFor(WindowArgs{.exStyle = WS_EX_CONTROLPARENT,
                             .className = kClassName,
                             .style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                             .x = 0, .y = 0, .width = 0, .height = 0,
                             .parent = dialog,
                             .menu = reinterpret_cast<HMENU>(INT_PTR(IDC_PICTURE_PANEL))});
        PictureLabel = CreateControl(hwnd_, "STATIC", "", SS_LEFT | SS_NOPREFIX, IDC_PICTURE_LABEL);
        PreviewButton = CreateControl(hwnd_, "BUTTON", "", BS_PUSHBUTTON | BS_ICON | WS_TABSTOP | WS_DISABLED,
                                      IDC_PREVIEW_BUTTON);
        DeleteButton = CreateControl(hwnd_, "BUTTON", "&Delete", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED,
                                     IDC_DELETE_BUTTON);
        // The label reaches under the buttons; they stay on top of it.
        ::SetWindowPos(PictureLabel, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        glyph_ = GlyphIcon("PREVIEWGLYPH");
        ::SendMessageA(PreviewButton, BM_SETIMAGE, IMAGE_ICON, LPARAM(glyph_.get()));
        PaintBox = std::make_unique<PictureBox>(hwnd_, IDC_PAINT_BOX, 0, events_.PaintPreview,
                                                events_.PreviewButtonClick);
        AddTooltips();
    }

    ~PicturePanelWindow() override {
        // The buttons go before the glyph they show.
        DestroyOwnedWindow();
    }

    // The size of the picture now previewed, or none.
    void ShowPicture(const std::optional<Size>& picture) {
        ::SetWindowTextA(PictureLabel, PictureLabelText(picture).c_str());
        const bool enable = picture.has_value();
        HWND focus = ::GetFocus();
        if (!enable && (focus == PreviewButton || focus == DeleteButton))
            ::SendMessageA(::GetAncestor(hwnd_, GA_ROOT), WM_NEXTDLGCTL, 0, FALSE);
        ::EnableWindow(PreviewButton, enable);
        ::EnableWindow(DeleteButton, enable);
        ::InvalidateRect(PaintBox->Hwnd(), nullptr, FALSE);
    }

private:
    static constexpr const char* kClassName = "VimbrelPicturePanel";

    void AddTooltips() {
        tooltip_.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                                         nullptr, ::GetModuleHandleA(nullptr), nullptr));
        if (!tooltip_) return;
        const std::pair<HWND, const char*> tips[] = {{PreviewButton, "Preview"}, {DeleteButton, "Delete Image"}};
        for (const auto& [button, text] : tips) {
            TTTOOLINFOA tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = hwnd_;
            tool.uId = reinterpret_cast<UINT_PTR>(button);
            tool.lpszText = const_cast<char*>(text);
            ::SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, LPARAM(&tool));
        }
    }

    void Layout() {
        if (!PaintBox) return;  // sized while being made, before its parts exist
        const Rect client = ClientRect(hwnd_);
        const PicturePanelLayout layout = LayoutPicturePanel(client.Width(), client.Height());
        MoveTo(PictureLabel, layout.PictureLabel);
        MoveTo(PreviewButton, layout.PreviewButton);
        MoveTo(DeleteButton, layout.DeleteButton);
        MoveTo(PaintBox->Hwnd(), layout.PaintBox);
        PaintPanel = layout.PaintPanel;
        ::InvalidateRect(hwnd_, nullptr, TRUE);
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_SIZE:
            Layout();
            return 0;
        case WM_PAINT: {
            PaintDC dc(hwnd_);
            RECT frame = ToRECT(PaintPanel);
            ::DrawEdge(dc.get(), &frame, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT);
            return 0;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_PREVIEW_BUTTON) events_.PreviewButtonClick();
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_DELETE_BUTTON) events_.DeleteButtonClick();
            return 0;
        case WM_DESTROY:
            tooltip_.reset();  // a tip still shown goes with the dialog
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }

    Events events_;
    UniqueIcon glyph_;
    UniqueWindow tooltip_;
    HWND PictureLabel = nullptr, PreviewButton = nullptr, DeleteButton = nullptr;
    Rect PaintPanel;
    std::unique_ptr<PictureBox> PaintBox;
};

// The picture of a file, or none for anything that is not a readable picture.
std::optional<Bitmap> LoadPreviewPicture(const std::string& file) {
    if (!PreviewsAsPicture(file)) return std::nullopt;
    const DWORD attributes = ::GetFileAttributesA(file.c_str());
    if (file.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    try {
        std::optional<Bitmap> picture = LoadImageFile(file);
        if (picture && picture->Width() > 0 && picture->Height() > 0) return picture;
    } catch (const std::exception&) {
        // Damaged or unreadable: no preview, though the file can still be opened.
    }
    return std::nullopt;
}

// The preview window: the picture at its own size inside a 5-pixel margin of window colour,
// stretched when the window is sized.
struct PreviewWindowState {
    const std::optional<Bitmap>* picture;
    std::unique_ptr<PictureBox> image;
};

constexpr int kPreviewMargin = 5;

void PaintPreviewImage(HDC dc, const Rect& client, const std::optional<Bitmap>& picture) {
    RECT all = ToRECT(client);
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_WINDOW));
    if (picture)
        DrawBitmap(dc, *picture, kPreviewMargin, kPreviewMargin, client.Width() - 2 * kPreviewMargin,
                   client.Height() - 2 * kPreviewMargin);
}

// Grows the window so the image's client area is the picture plus the margins, then
// centres it.
void SizePreviewWindow(HWND window, const PreviewWindowState& state) {
    HWND image = state.image->Hwnd();
    RECT outer{};
    ::GetWindowRect(window, &outer);
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    if (*state.picture) {
        const Rect client = ClientRect(window);
        const Rect imageClient = ClientRect(image);
        RECT wanted{0, 0, (*state.picture)->Width() + client.Width() - imageClient.Width() + 2 * kPreviewMargin,
                    (*state.picture)->Height() + client.Height() - imageClient.Height() + 2 * kPreviewMargin};
        ::AdjustWindowRectEx(&wanted, DWORD(::GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                             DWORD(::GetWindowLongPtrA(window, GWL_EXSTYLE)));
        width = wanted.right - wanted.left;
        height = wanted.bottom - wanted.top;
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const Rect at = PreviewWindowBounds(width, height, FromRECT(monitor.rcWork));
    ::SetWindowPos(window, nullptr, at.left, at.top, at.Width(), at.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<PreviewWindowState*>(::GetWindowLongPtrA(window, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<PreviewWindowState*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        const std::optional<Bitmap>* picture = state->picture;
        state->image = std::make_unique<PictureBox>(window, IDC_PREVIEW_IMAGE, WS_BORDER,
                                                    [picture](HDC dc, const Rect& client) {
                                                        PaintPreviewImage(dc, client, *picture);
                                                    });
        MoveTo(state->image->Hwnd(), ClientRect(window));
        SizePreviewWindow(window, *state);
        return TRUE;
    }
    case WM_SIZE:
        if (state && state->image) MoveTo(state->image->Hwnd(), ClientRect(window));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {  // Escape, or the caption's close box
            ::EndDialog(window, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

class TOpenPictureDialog2 {
public:
    std::optional<std::string> Execute(HWND owner, const OpenPictureQuestion& question) {
        char file[MAX_PATH] = {};
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.hInstance = ::GetModuleHandleA(nullptr);
        ofn.lpstrFilter = question.filter.c_str();
        ofn.nFilterIndex = DWORD(question.filterIndex);
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrInitialDir = question.folder.empty() ? nullptr : question.folder.c_str();
        ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING |
                    OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
        ofn.lpTemplateName = "DLGTEMPLATE";
        ofn.lpfnHook = GuardedHookProc<&TOpenPictureDialog2::HookProc>;
        ofn.lCustData = reinterpret_cast<LPARAM>(this);
        ModalScope modal;
        if (!::GetOpenFileNameA(&ofn)) return std::nullopt;
        return std::string(file);
    }

private:
    static UINT_PTR HookProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            auto* self = reinterpret_cast<TOpenPictureDialog2*>(reinterpret_cast<OPENFILENAMEA*>(lParam)->lCustData);
            ::SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
            self->dialog_ = dialog;
            return TRUE;
        }
        auto* self = reinterpret_cast<TOpenPictureDialog2*>(::GetWindowLongPtrA(dialog, DWLP_USER));
        if (!self) return 0;
        switch (message) {
        case WM_NOTIFY:
            switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
            case CDN_INITDONE:  // the standard controls are in place now
                self->ShowPanel();
                break;
            case CDN_SELCHANGE:
                self->UpdatePreview();
                break;
            default:
                break;
            }
            return 0;
        case WM_SIZE:
            if (self->PicturePanel) self->PlacePanel();
            return 0;
        default:
            return 0;
        }
    }

    // The open dialog itself; the hook runs on its child made from our template.
    HWND OpenDialog() const { return ::GetParent(dialog_); }

    void ShowPanel() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        picture_.reset();
        PicturePanel = std::make_unique<PicturePanelWindow>(
            dialog_, PicturePanelWindow::Events{[this] { ShowPreviewWindow(); }, [this] { DeleteSelectedFile(); },
                                                [this](HDC dc, const Rect& box) { PaintPreview(dc, box); }});
        PlacePanel();
    }

    // The standard controls grow with the dialog and what lies right of them moves along,
    // so the panel keeps the width it had beside them at the start.
    void PlacePanel() {
        const Rect client = ClientRect(dialog_);
        if (!panelWidth_) {
            HWND standard = ::GetDlgItem(dialog_, IDC_STANDARD_CONTROLS);
            panelWidth_ = client.right - (standard ? BoundsInParent(standard) : client).right;
        }
        const Rect standardControls{client.left, client.top, client.right - *panelWidth_, client.bottom};
        MoveTo(PicturePanel->Hwnd(), PicturePanelBounds(client, standardControls, ::GetSystemMetrics(SM_CYHSCROLL)));
    }

    // The file the dialog would answer now: the typed or selected name in its folder.
    std::string CurrentFileName() const {
        std::string path(MAX_PATH, '\0');
        LRESULT length = ::SendMessageA(OpenDialog(), CDM_GETFILEPATH, path.size(), LPARAM(path.data()));
        if (length > LRESULT(path.size())) {
            path.assign(size_t(length), '\0');
            length = ::SendMessageA(OpenDialog(), CDM_GETFILEPATH, path.size(), LPARAM(path.data()));
        }
        if (length <= 0) return {};
        path.resize(std::strlen(path.c_str()));
        return path;
    }

    void UpdatePreview() {
        picture_ = LoadPreviewPicture(CurrentFileName());
        std::optional<Size> size;
        if (picture_) size = Size{picture_->Width(), picture_->Height()};
        PicturePanel->ShowPicture(size);
    }

    void PaintPreview(HDC dc, const Rect& box) const {
        RECT all = ToRECT(box);
        ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
        if (!picture_) {
            SelectedObject font(dc, DialogFont(dialog_));
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
            ::DrawTextA(dc, kNoPictureText, -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            return;
        }
        const Rect at = PlacePreview(Size{picture_->Width(), picture_->Height()}, box.Width(), box.Height());
        DrawBitmap(dc, *picture_, at.left, at.top, at.Width(), at.Height());
    }

    void ShowPreviewWindow() {
        PreviewWindowState state{&picture_, nullptr};
        ModalScope modal;
        ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PICTURE_PREVIEW), OpenDialog(),
                          GuardedDialogProc<PreviewWindowProc>, LPARAM(&state));
    }

    void DeleteSelectedFile() {
        const std::string file = CurrentFileName();
        const std::string question = "Delete: " + file;
        if (ModalMessageBox(OpenDialog(), question, "Delete File...", MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONQUESTION) !=
            IDOK)
            return;
        // A file that will not go says nothing; one that went leaves nothing to show.
        if (::DeleteFileA(file.c_str())) UpdatePreview();
    }

    HWND dialog_ = nullptr;
    std::optional<int> panelWidth_;
    std::optional<Bitmap> picture_;
    std::unique_ptr<PicturePanelWindow> PicturePanel;
};

}  // namespace

std::optional<std::string> AskOpenPicture(HWND owner, const OpenPictureQuestion& question) {
    TOpenPictureDialog2 dialog;
    return dialog.Execute(owner, question);
}

}  // namespace vimbrel::win32
