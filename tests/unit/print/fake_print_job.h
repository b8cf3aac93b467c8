#pragma once
// A printer job that writes down what was done to it, one line per call.
#include <stdexcept>
#include <string>
#include <vector>

#include "print/print_canvas.h"

namespace vimbrel {

class FakePrintJob : public PrintJob {
public:
    explicit FakePrintJob(std::vector<std::string>& log, std::int32_t width = 4800, std::int32_t height = 6600)
        : log_(log), width_(width), height_(height) {}

    // Text is 10 pixels a character and 40 high.
    std::int32_t PageWidth() const override { return width_; }
    std::int32_t PageHeight() const override { return height_; }
    int TextWidth(const std::string& text) override { return 10 * int(text.size()); }
    int TextHeight(const std::string&) override { return 40; }
    void WriteText(int x, int y, const std::string& text) override {
        Log("text " + std::to_string(x) + "," + std::to_string(y) + " " + text);
    }
    void WriteTextClipped(int x, int y, const Rect& c, const std::string& text) override {
        Log("line " + std::to_string(x) + "," + std::to_string(y) + " clip " + std::to_string(c.left) + "," +
            std::to_string(c.top) + "-" + std::to_string(c.right) + "," + std::to_string(c.bottom) + " " + text);
    }
    void NewPage() override { Log("new page"); }
    void StretchPicture(int x, int y, int w, int h, const PrintableDib& p) override {
        if (failPicture) throw std::runtime_error("out of paper");
        Log("picture " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(w) + "x" +
            std::to_string(h) + " from " + std::to_string(p.width) + "x" + std::to_string(p.height));
    }
    void BeginDoc(const std::string& title) override { Log("begin " + title); }
    void EndDoc() override { Log("end"); }
    void AbortDoc() override { Log("abort"); }

    bool failPicture = false;

protected:
    virtual void Log(const std::string& line) { log_.push_back(line); }

private:
    std::vector<std::string>& log_;
    std::int32_t width_, height_;
};

}  // namespace vimbrel
