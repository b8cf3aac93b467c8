#pragma once
// A stand-in log viewer: a window whose class name begins with "TKXDataLogger" that keeps
// every WM_COPYDATA record it receives. Its owner pumps messages while it listens.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace standins {

class LogViewer {
public:
    struct Received {
        ULONG_PTR tag;
        std::vector<std::uint8_t> bytes;
        // The line of a log record (kind 1, length at byte 8, text from byte 9).
        std::string Line() const {
            if (bytes.size() < 9) return {};
            return std::string(reinterpret_cast<const char*>(bytes.data() + 9), bytes[8]);
        }
    };

    explicit LogViewer(const char* className = "TKXDataLoggerStandIn") {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = className;
        ::RegisterClassA(&wc);
        window_ = ::CreateWindowExA(0, className, "Log", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                    wc.hInstance, nullptr);
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, LONG_PTR(this));
    }
    ~LogViewer() { ::DestroyWindow(window_); }
    LogViewer(const LogViewer&) = delete;
    LogViewer& operator=(const LogViewer&) = delete;

    HWND Window() const { return window_; }
    std::vector<Received> received;

private:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_COPYDATA) {
            if (auto* self = reinterpret_cast<LogViewer*>(::GetWindowLongPtrA(w, GWLP_USERDATA))) {
                const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
                const auto* bytes = static_cast<const std::uint8_t*>(data->lpData);
                self->received.push_back({data->dwData, std::vector<std::uint8_t>(bytes, bytes + data->cbData)});
            }
            return TRUE;
        }
        return ::DefWindowProcA(w, msg, wp, lp);
    }

    HWND window_ = nullptr;
};

}  // namespace standins
