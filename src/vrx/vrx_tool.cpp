#include "vrx/vrx_tool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>
#include <stdexcept>

#include "version.h"
#include "crypto/enciphered_file.h"
#include "crypto/encrypted_names.h"
#include "crypto/strong_file.h"
#include "util/new_file.h"
#include "workspace/file_kinds.h"
#include "vrx/interrupt.h"

namespace vimbrel::vrx {

namespace fs = std::filesystem;

const char* const HelpText =
    "Usage: vrx encrypt FILE [--cipher des|strong] [--output OUT] [--force] [--key-stdin]\n"
    "       vrx decrypt FILE [--output OUT] [--force] [--key-stdin]\n"
    "       vrx info FILE\n"
    "\n"
    "Enciphers and deciphers files in Vimbrel's encrypted-file formats, under a key text of\n"
    "8 characters or more, case-sensitive:\n"
    "  des     DES-CBC, the format of every older file; a changed file is not noticed.\n"
    "  strong  XChaCha20-Poly1305 under a key stretched with Argon2id and a salt of the\n"
    "          file's own; a wrong key or any change to the file is refused.\n"
    "\n"
    "  encrypt FILE   writes FILE.VRX (des) or FILE.VRS (strong) beside FILE; FILE is left\n"
    "                 unchanged.\n"
    "  decrypt FILE   writes the plain file beside FILE, in whichever format FILE is:\n"
    "                 x.bmp.vrx and x.bmp.vrs give x.bmp, and older x.bmpx, x.jpgx, x.jpegx\n"
    "                 files give x.bmp, x.jpg, x.jpeg.\n"
    "  info FILE      tells the format of FILE and, for a strong file, its parameters.\n"
    "\n"
    "Options:\n"
    "  --cipher C        the format encrypt writes: des (when not given) or strong\n"
    "  -o, --output OUT  write OUT instead of the name derived from FILE\n"
    "  -f, --force       replace an existing output file\n"
    "  --key-stdin       read the key from the first line of standard input instead of\n"
    "                    asking for it on the terminal\n"
    "  -h, --help        show this text\n"
    "  --version         show the version\n"
    "\n"
    "The key is asked for on the terminal without echo (twice when encrypting). It is\n"
    "never taken from the command line, where other users could see it. A lost key\n"
    "cannot be recovered. With a des file a wrong key is mostly reported as such, but can\n"
    "also give a garbled file; a strong file never deciphers under a wrong key.\n"
    "\n"
    "Exit status: 0 on success, 1 on failure, 2 on wrong usage. Nothing is left behind\n"
    "when a command fails or is interrupted.\n";

const char* const VersionText = VIMBREL_VERSION_TEXT;

Options ParseArguments(const std::vector<std::string>& args) {
    Options o;
    bool haveCommand = false, haveInput = false, haveCipher = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-h" || a == "--help") {
            o.command = Command::Help;
            return o;
        } else if (a == "--version") {
            o.command = Command::Version;
            return o;
        } else if (a == "-f" || a == "--force") {
            o.force = true;
        } else if (a == "--key-stdin") {
            o.keyStdin = true;
        } else if (a == "-o" || a == "--output") {
            if (++i == args.size()) throw std::invalid_argument(a + " needs a file name");
            o.output = args[i];
            if (o.output.empty()) throw std::invalid_argument("empty output name");
        } else if (a.rfind("--output=", 0) == 0) {
            o.output = a.substr(9);
            if (o.output.empty()) throw std::invalid_argument("empty output name");
        } else if (a == "--cipher" || a.rfind("--cipher=", 0) == 0) {
            std::string name;
            if (a == "--cipher") {
                if (++i == args.size()) throw std::invalid_argument("--cipher needs des or strong");
                name = args[i];
            } else {
                name = a.substr(9);
            }
            if (name == "des") o.cipher = FileCipher::Des;
            else if (name == "strong") o.cipher = FileCipher::Strong;
            else throw std::invalid_argument("unknown cipher " + name + " (des or strong)");
            haveCipher = true;
        } else if (a.rfind("--key", 0) == 0) {
            throw std::invalid_argument("the key is never taken from the command line; use --key-stdin or the prompt");
        } else if (a.size() > 1 && a[0] == '-') {
            throw std::invalid_argument("unknown option " + a);
        } else if (!haveCommand) {
            if (a == "encrypt") o.command = Command::Encrypt;
            else if (a == "decrypt") o.command = Command::Decrypt;
            else if (a == "info") o.command = Command::Info;
            else throw std::invalid_argument("unknown command " + a + " (encrypt, decrypt or info)");
            haveCommand = true;
        } else if (!haveInput) {
            o.input = a;
            haveInput = true;
        } else {
            throw std::invalid_argument("one file at a time");
        }
    }
    if (!haveCommand) throw std::invalid_argument("no command given");
    if (!haveInput) throw std::invalid_argument("no file given");
    if (haveCipher && o.command != Command::Encrypt)
        throw std::invalid_argument("--cipher is for encrypt; decrypt reads the format from the file");
    return o;
}

namespace {

// Room enough that a key text read in never grows, and so never leaves a copy behind in
// freed memory.
constexpr std::size_t kKeyRoom = 1024;

// Wipes a key text when it goes out of scope.
class KeyWiper {
public:
    explicit KeyWiper(std::string& key) : key_(key) {}
    ~KeyWiper() {
        // Its spare room too: a shorter key read earlier may have left characters there.
        key_.resize(key_.capacity());
        volatile char* p = key_.data();
        for (std::size_t i = 0; i < key_.size(); ++i) p[i] = 0;
    }
    KeyWiper(const KeyWiper&) = delete;
    KeyWiper& operator=(const KeyWiper&) = delete;

private:
    std::string& key_;
};

std::optional<std::string> ReadKeyLine(std::istream& in, std::ostream& err) {
    std::string line;
    line.reserve(kKeyRoom);  // so the key is not copied while it grows
    if (!std::getline(in, line) && line.empty()) {
        err << "vrx: no key on standard input\n";
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// The output while it is written, under a name of its own beside the target, so the target
// only ever appears complete. Created exclusively, so nothing planted in its place is
// written through; removed on failure and on interruption.
class PartFile {
public:
    explicit PartFile(std::string name) : name_(std::move(name)) {
        InterruptsHeld held;
        file_ = CreateNewFile(name_);
        if (!file_) throw std::runtime_error("cannot create " + name_ + ": " + std::strerror(errno));
        RemoveOnInterrupt(name_);
        // A buffer of its own: given none, glibc would keep its default of one block.
        buffer_ = std::make_unique_for_overwrite<char[]>(kStreamBuffer);
        std::setvbuf(file_, buffer_.get(), _IOFBF, kStreamBuffer);
    }
    ~PartFile() {
        if (committed_) return;
        if (file_) std::fclose(file_);
        std::remove(name_.c_str());
        RemoveOnInterrupt({});
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    std::FILE* get() const { return file_; }

    void MoveInto(const std::string& target, bool replace) {
        std::FILE* f = file_;
        file_ = nullptr;
        if (std::fclose(f) != 0) throw std::runtime_error("cannot write " + name_ + ": " + std::strerror(errno));
        InterruptsHeld held;
        if (!MoveFileInto(name_, target, replace)) {
            if (!replace && errno == EEXIST) throw std::runtime_error(target + " appeared meanwhile; use --force to replace it");
            throw std::runtime_error("cannot create " + target + ": " + std::strerror(errno));
        }
        RemoveOnInterrupt({});
        committed_ = true;
    }

private:
    static constexpr std::size_t kStreamBuffer = 256 * 1024;
    std::string name_;
    // Outlives file_: the destructor and MoveInto close the stream before it goes.
    std::unique_ptr<char[]> buffer_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

// vrx info: the format, and what a strong header says.
int Describe(const std::string& path, std::ostream& out, std::ostream& err) {
    try {
        const std::optional<StrongHeader> header = ReadStrongHeader(path);
        if (!header) {
            out << path << ": des (DES-CBC, no header; a wrong key or a change is not always noticed)\n";
            return 0;
        }
        const StrongParams& p = header->params;
        out << path << ": strong, format version " << int(header->version) << "\n"
            << "  key derivation  Argon2id v1.3, " << p.passes << " passes over " << p.memoryKiB << " KiB, "
            << header->salt.size() << "-byte salt\n"
            << "  cipher          XChaCha20-Poly1305 secret stream, chunks of " << p.chunkSize << " bytes\n";
        return 0;
    } catch (const std::exception& e) {
        err << "vrx: " << path << ": " << e.what() << "\n";
        return 1;
    }
}

bool IsFolderName(const std::string& name) {
    std::error_code ec;
    return name.empty() || name.back() == '/' || name.back() == '\\' || fs::is_directory(name, ec);
}

}  // namespace

int Run(const std::vector<std::string>& args, const KeySource& terminalKey, std::istream& in,
        std::ostream& out, std::ostream& err) {
    Options o;
    try {
        o = ParseArguments(args);
    } catch (const std::invalid_argument& e) {
        err << "vrx: " << e.what() << "\nTry 'vrx --help'.\n";
        return 2;
    }
    if (o.command == Command::Help) {
        out << HelpText;
        return 0;
    }
    if (o.command == Command::Version) {
        out << "vrx " << VersionText << "\n";
        return 0;
    }
    const bool encrypt = o.command == Command::Encrypt;

    std::error_code ec;
    if (!fs::is_regular_file(o.input, ec)) {
        err << "vrx: " << o.input << ": no such file\n";
        return 1;
    }
    if (o.command == Command::Info) return Describe(o.input, out, err);
    std::string target = o.output;
    if (target.empty()) {
        if (encrypt) {
            target = EncryptedFileName(o.input, o.cipher);
        } else if (const EncipheredForm form = EncipheredFormOf(o.input);
                   form == EncipheredForm::None || form == EncipheredForm::NoExtension) {
            err << "vrx: " << o.input
                << " does not end in .vrx, .vrs, .bmpx, .jpgx or .jpegx; name the output with --output\n";
            return 2;
        } else {
            target = DecipheredNameOf(o.input);
        }
    }
    if (IsFolderName(target)) {
        err << "vrx: " << (target.empty() ? o.input : target) << " names a folder, not an output file\n";
        return 1;
    }
    if (!o.force && fs::exists(target, ec)) {
        err << "vrx: " << target << " exists; use --force to replace it\n";
        return 1;
    }
    // An earlier run that was killed outright may have left its partial file; it may hold
    // plain text, so it is named, never silently skipped or reused.
    const std::string partName = target + ".vrx-part";
    if (fs::symlink_status(partName, ec).type() != fs::file_type::not_found) {
        if (!o.force || fs::is_directory(fs::symlink_status(partName, ec))) {
            err << "vrx: " << partName << " exists, left by an interrupted run; remove it or use --force\n";
            return 1;
        }
        if (!fs::remove(partName, ec)) {
            err << "vrx: cannot remove " << partName << ": " << ec.message() << "\n";
            return 1;
        }
        err << "vrx: removed " << partName << ", left by an interrupted run\n";
    }

    std::optional<std::string> key = o.keyStdin ? ReadKeyLine(in, err) : terminalKey(encrypt, err);
    if (!key) return 1;
    KeyWiper wiper(*key);
    if (key->size() < MinKeyLength) {
        err << "vrx: the key must be 8 characters or more\n";
        return 1;
    }

    try {
        PartFile part(partName);
        TDES des;
        des.CipherMode = TCipherMode::CBC;
        if (encrypt) EncipherFile(des, o.cipher, *key, o.input, part.get());
        else DecipherFile(des, *key, o.input, part.get());
        part.MoveInto(target, o.force);
    } catch (const std::exception& e) {
        err << "vrx: cannot " << (encrypt ? "encrypt " : "decrypt ") << o.input << ": " << e.what() << "\n";
        return 1;
    }
    out << target << "\n";
    return 0;
}

}  // namespace vimbrel::vrx
