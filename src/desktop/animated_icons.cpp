#include "desktop/animated_icons.h"

namespace vimbrel {

TAnimatedIcons::TAnimatedIcons(TTimerPool& pool, bool large) : pool_(pool), large_(large) {
    pool_.SetEnabled(this, false);
}

TAnimatedIcons::~TAnimatedIcons() { pool_.Remove(this); }

void TAnimatedIcons::Play(int repeatLimit) {
    if (!OnNewFrame || frames_.empty()) return;
    current_ = 0;
    gathered_ = 0;
    playing_ = true;
    runLimit_ = repeatLimit;
    runs_ = 0;
    pool_.SetEnabled(this, true);
}

void TAnimatedIcons::Stop() {
    pool_.SetEnabled(this, false);
    playing_ = false;
    if (OnStopped) OnStopped(*this);
}

void TAnimatedIcons::PoolTick(const PoolTickMessage& tick) {
    if (current_ >= Count()) current_ = 0;
    if (frames_.empty()) return;
    gathered_ += tick.Elapsed;
    // Delays are hundredths of a second; a negative one counts as none.
    const std::int64_t due = static_cast<std::int64_t>(frames_[static_cast<std::size_t>(current_)].Delay) * 10;
    if (static_cast<std::int64_t>(gathered_) < due) return;
    if (OnNewFrame) OnNewFrame(*this, current_);
    if (++current_ >= Count()) {
        current_ = 0;
        if (runLimit_ > 0 && ++runs_ == runLimit_) Stop();
    }
    gathered_ = 0;
}

int TAnimatedIcons::Add(const TAnimatedIcon& icon) {
    frames_.push_back(icon);
    return Count() - 1;
}

TAnimatedIcon& TAnimatedIcons::AddNew() { return frames_.emplace_back(); }

void TAnimatedIcons::Insert(int index, const TAnimatedIcon& icon) {
    if (index < 0 || index > Count()) throw std::out_of_range("TAnimatedIcons::Insert: index out of range");
    frames_.insert(frames_.begin() + index, icon);
}

void TAnimatedIcons::Delete(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("TAnimatedIcons::Delete: index out of range");
    frames_.erase(frames_.begin() + index);
}

void TAnimatedIcons::Clear() { frames_.clear(); }

void TAnimatedIcons::Assign(const TAnimatedIcons& source) {
    if (&source == this) return;
    Title = source.Title;
    Author = source.Author;
    large_ = source.large_;
    frames_ = source.frames_;
}

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutBytes(std::vector<std::uint8_t>& out, const void* data, std::size_t size) {
    if (size > INT32_MAX) throw EIconsStreamError("Icons stream: item too large to store");
    PutU32(out, static_cast<std::uint32_t>(size));
    const auto* p = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), p, p + size);
}

// Reads the stream front to back; every length is checked against what is left before
// anything is allocated for it.
class StreamReader {
public:
    explicit StreamReader(const std::vector<std::uint8_t>& s) : s_(s) {}

    std::int32_t I32() {
        Need(4);
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(s_[pos_ + static_cast<std::size_t>(i)]) << (8 * i);
        pos_ += 4;
        return static_cast<std::int32_t>(v);
    }
    std::uint8_t U8() {
        Need(1);
        return s_[pos_++];
    }
    std::string Text() {
        const std::int32_t n = I32();
        if (n < 0) throw EIconsStreamError("Icons stream: negative text length");
        return std::string(reinterpret_cast<const char*>(Take(static_cast<std::size_t>(n))), static_cast<std::size_t>(n));
    }
    const std::uint8_t* Take(std::size_t n) {
        Need(n);
        const std::uint8_t* p = s_.data() + pos_;
        pos_ += n;
        return p;
    }
    std::size_t Left() const { return s_.size() - pos_; }

private:
    void Need(std::size_t n) const {
        if (n > Left()) throw EIconsStreamError("Icons stream: unexpected end of data");
    }
    const std::vector<std::uint8_t>& s_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::uint8_t> TAnimatedIcons::WriteIcons() const {
    std::vector<std::uint8_t> out;
    PutBytes(out, Title.data(), Title.size());
    PutBytes(out, Author.data(), Author.size());
    out.push_back(large_ ? 1 : 0);
    PutU32(out, static_cast<std::uint32_t>(frames_.size()));
    for (const TAnimatedIcon& f : frames_) {
        PutU32(out, static_cast<std::uint32_t>(f.Delay));
        PutBytes(out, f.Data.data(), f.Data.size());
    }
    return out;
}

void TAnimatedIcons::ReadIcons(const std::vector<std::uint8_t>& stream) {
    StreamReader r(stream);
    std::string title = r.Text();
    std::string author = r.Text();
    const bool large = r.U8() != 0;
    const std::int32_t count = r.I32();
    // Each frame takes at least 8 bytes, which bounds a believable count.
    if (count < 0 || static_cast<std::size_t>(count) > r.Left() / 8)
        throw EIconsStreamError("Icons stream: frame count does not fit the data");
    std::vector<TAnimatedIcon> frames(static_cast<std::size_t>(count));
    for (TAnimatedIcon& f : frames) {
        f.Delay = r.I32();
        const std::int32_t size = r.I32();
        if (size <= 0) continue;  // an empty icon
        const std::uint8_t* p = r.Take(static_cast<std::size_t>(size));
        f.Data.assign(p, p + size);
    }
    Title = std::move(title);
    Author = std::move(author);
    large_ = large;
    frames_ = std::move(frames);
    if (playing_ && frames_.empty()) Stop();
}

bool TAnimatedIcons::ShouldStoreIcons(const TAnimatedIcons* ancestor) const {
    return ancestor ? !SameFrames(*ancestor) : !frames_.empty();
}

}  // namespace vimbrel
