#pragma once
// The wait cursor of long operations. Work shows it through BusyCursor, a scoped guard, so
// every way out (including an exception) puts back the cursor that was shown before.

namespace vimbrel {

class CursorPort {
public:
    virtual ~CursorPort() = default;
    virtual bool BusyCursorShown() const = 0;
    virtual void ShowBusyCursor(bool busy) = 0;
};

class BusyCursor {
public:
    explicit BusyCursor(CursorPort& port) : port_(port), wasBusy_(port.BusyCursorShown()) {
        port_.ShowBusyCursor(true);
    }
    ~BusyCursor() { port_.ShowBusyCursor(wasBusy_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    CursorPort& port_;
    bool wasBusy_;
};

}  // namespace vimbrel
