// The floor of bench/start_memory.sh: a bare tray program. A hidden top-level window of
// class "BareTray", an icon in the notification area, a message loop; nothing else. It ends
// when its window is closed (WM_CLOSE). Its manifest gives it Vimbrel's code page (UTF-8)
// and nothing else.
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        NOTIFYICONDATAA data{};
        data.cbSize = sizeof data;
        data.hWnd = w;
        data.uID = 1;
        ::Shell_NotifyIconA(NIM_DELETE, &data);
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = "BareTray";
    ::RegisterClassA(&wc);
    HWND window = ::CreateWindowExA(0, "BareTray", "Bare tray", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    400, 300, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpynA(data.szTip, "Bare tray", sizeof data.szTip);
    ::Shell_NotifyIconA(NIM_ADD, &data);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
