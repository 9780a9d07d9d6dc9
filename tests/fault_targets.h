// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Targets a save must fail on without harm, shared by the Auswertung's and wexal-sim's tests: a
// file that a size limit or a full file system cuts short, a FIFO, a private device node, links
// to them, a missing folder and a name too long, each in a scratch folder of the test's own. No
// test writes at a real device: the device is a node made here, of the null device.
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

namespace wexal::test {

enum class Fault {
    FileSizeLimit,  // RLIMIT_FSIZE below the file's size, SIGXFSZ ignored: EFBIG
    FullDisk,       // a small tmpfs filled to the last byte: ENOSPC (root only)
    Fifo,
    LinkToFifo,
    DeviceNode,  // root only
    LinkToDevice,  // root only
    MissingFolder,
    NameTooLong,
};

struct FaultCase {
    const char* name;
    Fault fault;
    const char* reason;  // the German reason the failure names
};

inline constexpr FaultCase kFaultCases[] = {
    {"fileSizeLimit", Fault::FileSizeLimit, "Die Datei wäre größer als erlaubt"},
    {"fullDisk", Fault::FullDisk, "Kein freier Speicherplatz"},
    {"fifo", Fault::Fifo, "Das Ziel ist eine benannte Pipe (FIFO), keine gewöhnliche Datei"},
    {"linkToFifo", Fault::LinkToFifo,
     "Das Ziel ist eine benannte Pipe (FIFO), keine gewöhnliche Datei"},
    {"deviceNode", Fault::DeviceNode, "Das Ziel ist ein Gerät, keine gewöhnliche Datei"},
    {"linkToDevice", Fault::LinkToDevice, "Das Ziel ist ein Gerät, keine gewöhnliche Datei"},
    {"missingFolder", Fault::MissingFolder, "Der Ordner existiert nicht"},
    {"nameTooLong", Fault::NameTooLong, "Dateiname zu lang"},
};

// Whether the fault stops the save before anything is written (the rest fail while writing).
inline bool refusedBeforeWriting(Fault fault) {
    return fault != Fault::FileSizeLimit && fault != Fault::FullDisk;
}

// While it lives, no file of this process (and of a process it starts) grows past the limit: a
// write beyond it fails with EFBIG instead of raising SIGXFSZ. Without a limit it does nothing.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::optional<rlim_t> limit) : active_(limit.has_value()) {
        if (!active_) return;
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = *limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        if (!active_) return;
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    bool active_;
    rlimit saved_{};
    void (*savedHandler_)(int) = SIG_DFL;
};

// A scratch folder, removed with all it holds when the test ends; a file system mounted on it
// is unmounted first.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = "/tmp/wexal-faults-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchFolder() {
        if (mounted_) umount2(path_.c_str(), MNT_DETACH);
        if (!path_.empty()) {
            nftw(path_.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); },
                 16, FTW_DEPTH | FTW_PHYS);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool valid() const { return !path_.empty(); }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    // Each entry with what it is: "file:" and its bytes, "fifo", "device 1,3", "link -> ...".
    std::map<std::string, std::string> entries() const {
        std::map<std::string, std::string> found;
        DIR* dir = opendir(path_.c_str());
        if (dir == nullptr) return found;
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") found[name] = describe(file(name));
        }
        closedir(dir);
        return found;
    }

    // Where to save for the fault, with a good file of these bytes there when the target is a
    // regular file. Empty when the fault cannot be set up here (not root, no tmpfs).
    std::string prepare(Fault fault, const std::string& name, const std::string& goodBytes) {
        std::string target = file(name);
        switch (fault) {
            case Fault::FullDisk:
                if (geteuid() != 0 || mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=64k") != 0) {
                    return {};
                }
                mounted_ = true;
                write(target, goodBytes);
                fill();
                return target;
            case Fault::FileSizeLimit: write(target, goodBytes); return target;
            case Fault::Fifo: return mkfifo(target.c_str(), 0600) == 0 ? target : std::string();
            case Fault::LinkToFifo:
                mkfifo(file("pipe").c_str(), 0600);
                return symlink("pipe", target.c_str()) == 0 ? target : std::string();
            case Fault::DeviceNode:
                return makeNullNode(target) ? target : std::string();
            case Fault::LinkToDevice:
                if (!makeNullNode(file("geraet"))) return {};
                return symlink("geraet", target.c_str()) == 0 ? target : std::string();
            case Fault::MissingFolder: return file("fehlt/" + name);
            case Fault::NameTooLong: return file(std::string(300, 'x') + name);
        }
        return {};
    }

private:
    static std::string describe(const std::string& path) {
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0) return "missing";
        if (S_ISFIFO(status.st_mode)) return "fifo";
        if (S_ISCHR(status.st_mode)) {
            return "device " + std::to_string(major(status.st_rdev)) + "," +
                   std::to_string(minor(status.st_rdev));
        }
        if (S_ISLNK(status.st_mode)) {
            std::string target(PATH_MAX, '\0');
            const ssize_t size = readlink(path.c_str(), target.data(), target.size());
            return "link -> " + target.substr(0, size > 0 ? static_cast<std::size_t>(size) : 0);
        }
        std::ifstream in(path, std::ios::binary);
        return "file:" + std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static bool makeNullNode(const std::string& path) {
        return geteuid() == 0 && mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    }
    // One filler file takes every free byte of the mounted file system.
    void fill() const {
        const int fd = open(file("fuellung").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const std::string block(4096, 'f');
        for (std::size_t size = block.size(); size > 0; size /= 2) {
            while (::write(fd, block.data(), size) == static_cast<ssize_t>(size)) {
            }
        }
        close(fd);
    }

    std::string path_;
    bool mounted_ = false;
};

}  // namespace wexal::test
