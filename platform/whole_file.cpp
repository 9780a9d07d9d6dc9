// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <utility>
#include <variant>

namespace wexal {
namespace {

struct ErrorText {
    int error;
    const char* text;
};

constexpr std::array kErrorTexts{
    ErrorText{ENOSPC, "Kein freier Speicherplatz"},
    ErrorText{EDQUOT, "Das Speicherkontingent ist erschöpft"},
    ErrorText{EFBIG, "Die Datei wäre größer als erlaubt"},
    ErrorText{EACCES, "Zugriff verweigert"},
    ErrorText{EPERM, "Zugriff verweigert"},
    ErrorText{EROFS, "Das Dateisystem ist schreibgeschützt"},
    ErrorText{ENAMETOOLONG, "Dateiname zu lang"},
    ErrorText{ENOENT, "Datei oder Ordner nicht gefunden"},
    ErrorText{ENOTDIR, "Ein Teil des Pfades ist kein Ordner"},
    ErrorText{EISDIR, "Das Ziel ist ein Ordner"},
    ErrorText{ELOOP, "Zu viele symbolische Verweise hintereinander"},
    ErrorText{EIO, "Ein-/Ausgabefehler des Datenträgers"},
    ErrorText{EMFILE, "Zu viele offene Dateien"},
    ErrorText{ENFILE, "Zu viele offene Dateien im System"},
    ErrorText{ENOMEM, "Nicht genug Arbeitsspeicher"},
    ErrorText{EPIPE, "Die Gegenseite der Pipe ist geschlossen"},
    ErrorText{EBADF, "Die Ausgabe ist geschlossen"},
    ErrorText{EBUSY, "Das Ziel ist belegt"},
    ErrorText{ETXTBSY, "Die Datei wird gerade ausgeführt"},
    ErrorText{EINVAL, "Ungültiges Argument"},
    ErrorText{ENXIO, "Das Gerät ist nicht erreichbar"},
};

// What the path names now, when that is not a regular file.
std::string kindText(mode_t mode) {
    if (S_ISDIR(mode)) return "Das Ziel ist ein Ordner";
    if (S_ISFIFO(mode)) return "Das Ziel ist eine benannte Pipe (FIFO), keine gewöhnliche Datei";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "Das Ziel ist ein Gerät, keine gewöhnliche Datei";
    if (S_ISSOCK(mode)) return "Das Ziel ist ein Socket, keine gewöhnliche Datei";
    return "Das Ziel ist keine gewöhnliche Datei";
}

// The file to write: the path, or where its symbolic links lead, and the permissions an
// existing file has, which the new one keeps.
struct Target {
    std::string path;
    std::string folder;
    std::optional<mode_t> permissions;
};

constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kNewFileMode = 0666;  // less the umask, as for any new file

// Where a symbolic link leads, with its status there, or why it leads nowhere.
std::optional<std::string> follow(Target& target, struct stat& status) {
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(target.path.c_str(), nullptr),
                                                           &std::free);
    if (!real) {
        if (errno == ENOENT) return "Der symbolische Verweis zeigt ins Leere";
        return germanErrorText(errno);
    }
    target.path = real.get();
    if (stat(target.path.c_str(), &status) != 0) return germanErrorText(errno);
    return std::nullopt;
}

std::variant<Target, std::string> resolve(const std::string& path) {
    struct stat status {};
    Target target{path, {}, std::nullopt};
    if (lstat(path.c_str(), &status) != 0) {
        if (errno != ENOENT) return germanErrorText(errno);
    } else {
        if (S_ISLNK(status.st_mode)) {
            if (auto reason = follow(target, status)) return std::move(*reason);
        }
        if (!S_ISREG(status.st_mode)) return kindText(status.st_mode);
        if (access(target.path.c_str(), W_OK) != 0) return germanErrorText(errno);
        target.permissions = status.st_mode & kPermissionBits;
    }
    const std::size_t slash = target.path.rfind('/');
    const std::string name = slash == std::string::npos ? target.path : target.path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return std::string("Kein gültiger Dateiname");
    target.folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.path.substr(0, slash);
    return target;
}

// Closes and removes the new file unless it was renamed over the target.
class NewFile {
public:
    explicit NewFile(const std::string& folder) {
        static std::atomic<unsigned> counter{0};
        constexpr int kAttempts = 100;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            path_ = folder + "/.wexal-" + std::to_string(getpid()) + "-" +
                    std::to_string(counter.fetch_add(1)) + ".tmp";
            fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
            if (fd_ >= 0 || errno != EEXIST) break;
        }
        if (fd_ < 0) error_ = errno;
    }
    ~NewFile() {
        if (fd_ >= 0) close(fd_);
        if (!path_.empty()) unlink(path_.c_str());
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // The reason it could not be made: a missing folder is named as such.
    std::optional<std::string> failure() const {
        if (fd_ >= 0) return std::nullopt;
        if (error_ == ENOENT) return "Der Ordner existiert nicht";
        return germanErrorText(error_);
    }
    // The old file's permissions, where the file system keeps any: a failure leaves the
    // usual ones and costs nothing of the content.
    void keepPermissions(mode_t permissions) const { (void)fchmod(fd_, permissions); }
    // Each call returns the errno of the step that failed, 0 when it succeeded.
    int writeAll(std::string_view bytes) const {
        while (!bytes.empty()) {
            const ssize_t written = write(fd_, bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return 0;
    }
    int syncAndClose() {
        const int synced = fsync(fd_) == 0 ? 0 : errno;
        const int closed = close(fd_) == 0 ? 0 : errno;
        fd_ = -1;
        return synced != 0 ? synced : closed;
    }
    int renameOver(const std::string& target) {
        if (rename(path_.c_str(), target.c_str()) != 0) return errno;
        path_.clear();
        return 0;
    }

private:
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace

std::string germanErrorText(int error) {
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.error == error) return entry.text;
    }
    return "Systemfehler Nummer " + std::to_string(error);
}

std::optional<std::string> checkWritable(const std::string& path) {
    auto resolved = resolve(path);
    if (auto* reason = std::get_if<std::string>(&resolved)) return std::move(*reason);
    const NewFile trial(std::get<Target>(resolved).folder);
    return trial.failure();
}

std::optional<std::string> writeWholeFile(const std::string& path, std::string_view bytes) {
    auto resolved = resolve(path);
    if (auto* reason = std::get_if<std::string>(&resolved)) return std::move(*reason);
    const Target& target = std::get<Target>(resolved);
    NewFile file(target.folder);
    if (auto reason = file.failure()) return reason;
    if (target.permissions) file.keepPermissions(*target.permissions);
    int error = file.writeAll(bytes);
    if (error == 0) error = file.syncAndClose();
    if (error == 0) error = file.renameOver(target.path);
    if (error != 0) return germanErrorText(error);
    return std::nullopt;
}

std::string saveFailureLine(const std::string& path, const std::string& reason) {
    constexpr unsigned char kFirstPrintable = 0x20;
    constexpr unsigned char kDelete = 0x7F;
    constexpr unsigned kNibble = 4;
    constexpr unsigned kLowNibble = 0xF;
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string shown;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < kFirstPrintable || byte == kDelete) {
            shown += std::string("\\x") + kHex[byte >> kNibble] + kHex[byte & kLowNibble];
        } else {
            shown += c;
        }
    }
    return "Die Datei „" + shown + "“ konnte nicht gespeichert werden: " + reason;
}

}  // namespace wexal
