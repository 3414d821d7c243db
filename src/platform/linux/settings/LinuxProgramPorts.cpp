#include "platform/linux/settings/LinuxProgramPorts.h"

#include <gio/gio.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <gtkmm.h>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "config/frmSettings.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "platform/linux/PosixFiles.h"
#include "platform/linux/settings/IcuTimeZones.h"

namespace {

struct GErrorDeleter {
    void operator()(GError* error) const { g_error_free(error); }
};
using UniqueGError = std::unique_ptr<GError, GErrorDeleter>;

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using UniqueKeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;

struct GFreeDeleter {
    void operator()(void* memory) const { g_free(memory); }
};
using UniqueGChars = std::unique_ptr<gchar, GFreeDeleter>;

// A failed file operation with the runtime's number and name, from GLib's file error.
AppError FileError(const GError* error, const std::wstring& what) {
    FileFault fault = FileFault::Other;
    if (error && error->domain == G_FILE_ERROR) {
        switch (error->code) {
            case G_FILE_ERROR_ACCES:
            case G_FILE_ERROR_PERM:
            case G_FILE_ERROR_ROFS:
                fault = FileFault::PermissionDenied;
                break;
            case G_FILE_ERROR_NOENT:
            case G_FILE_ERROR_NOTDIR:
                fault = FileFault::PathNotFound;
                break;
            case G_FILE_ERROR_NOSPC:
                fault = FileFault::DiskFull;
                break;
            default:
                break;
        }
    }
    return FileError(fault, what, error ? utf8::ToWide(error->message) : L"unknown error");
}

// The failure of a system call on the file or folder, from its errno.
AppError ErrnoError(int code, const std::string& name, const std::wstring& what) {
    UniqueGError error(g_error_new(G_FILE_ERROR, g_file_error_from_errno(code), "%s: %s",
                                   name.c_str(), g_strerror(code)));
    return FileError(error.get(), what);
}

// Creates the folder and its parents (mode 0700: per-user data); a GLib file error otherwise.
void MakeFolder(const std::string& folder, const std::wstring& what) {
    if (g_mkdir_with_parents(folder.c_str(), 0700) == 0) return;
    throw ErrnoError(errno, folder, what);
}

std::string ParentFolder(const std::string& path) {
    UniqueGChars parent(g_path_get_dirname(path.c_str()));
    return parent.get();
}

// Moves the file to the first free name of "<path>.broken", "<path>.broken.1", ... and never
// replaces an earlier kept copy: the rename itself refuses a name that exists.
void KeepBeside(const std::string& path) {
    for (int n = 0;; ++n) {
        const std::string kept = path + ".broken" + (n ? "." + std::to_string(n) : "");
        int result = renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, kept.c_str(), RENAME_NOREPLACE);
        if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without that rename: a second link under the new name, which
            // equally fails when the name exists, then the old name goes.
            result = link(path.c_str(), kept.c_str());
            if (result == 0) unlink(path.c_str());
        }
        if (result == 0) return;
        if (errno != EEXIST)
            throw ErrnoError(errno, path, L"cannot set aside " + utf8::ToWide(path));
    }
}

// What loading the key file found.
enum class Loaded { Ok, Missing, Unreadable, Broken };

// Reads the file's bytes first and parses them apart, so that a failure to read (permissions,
// a folder in the file's place) is never taken for damage: only bytes that were read and are
// no key file count as broken.
Loaded LoadKeyFile(GKeyFile* file, const std::string& path, UniqueGError& error) {
    gchar* raw = nullptr;
    gsize length = 0;
    GError* failure = nullptr;
    if (!g_file_get_contents(path.c_str(), &raw, &length, &failure)) {
        error.reset(failure);
        return g_error_matches(failure, G_FILE_ERROR, G_FILE_ERROR_NOENT) ? Loaded::Missing
                                                                          : Loaded::Unreadable;
    }
    UniqueGChars bytes(raw);
    // Comments and other groups the user wrote survive a save.
    const auto flags =
        static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);
    if (!g_key_file_load_from_data(file, bytes.get(), length, flags, &failure)) {
        error.reset(failure);
        return Loaded::Broken;
    }
    return Loaded::Ok;
}

class KeyFileStore final : public SettingsStore {
  public:
    explicit KeyFileStore(std::string folder) : folder_(std::move(folder)) {}

    void SaveSetting(const std::wstring& appName, const std::wstring& section,
                     const std::wstring& key, const std::wstring& setting) override {
        const std::string path = FilePath(appName);
        UniqueKeyFile file(g_key_file_new());
        UniqueGError error;
        switch (LoadKeyFile(file.get(), path, error)) {
            case Loaded::Ok:
                break;
            case Loaded::Unreadable:
                // Left as it is: the user's bytes may be whole behind the failure.
                throw FileError(error.get(), L"cannot read " + utf8::ToWide(path));
            case Loaded::Broken:
                // No key file: keep the user's bytes beside it and start afresh.
                KeepBeside(path);
                [[fallthrough]];
            case Loaded::Missing:
                file.reset(g_key_file_new());
                break;
        }
        g_key_file_set_string(file.get(), utf8::FromWide(section).c_str(),
                              utf8::FromWide(key).c_str(), utf8::FromWide(setting).c_str());
        MakeFolder(folder_, L"cannot store " + utf8::ToWide(path));
        GError* raw = nullptr;
        if (!g_key_file_save_to_file(file.get(), path.c_str(), &raw)) {
            error.reset(raw);
            throw FileError(error.get(), L"cannot store " + utf8::ToWide(path));
        }
    }

    std::wstring GetSetting(const std::wstring& appName, const std::wstring& section,
                            const std::wstring& key, const std::wstring& defaultValue) override {
        UniqueKeyFile file(g_key_file_new());
        UniqueGError error;
        if (LoadKeyFile(file.get(), FilePath(appName), error) != Loaded::Ok) return defaultValue;
        UniqueGChars value(g_key_file_get_string(file.get(), utf8::FromWide(section).c_str(),
                                                 utf8::FromWide(key).c_str(), nullptr));
        return value ? utf8::ToWide(value.get()) : defaultValue;
    }

  private:
    std::string FilePath(const std::wstring& appName) const {
        return folder_ + "/" + utf8::FromWide(appName) + ".ini";
    }

    std::string folder_;
};

class AtomicFileReplacer final : public FileReplacer {
  public:
    void ReplaceFile(const std::wstring& path, const std::string& bytes) override {
        const std::string native = NativePath(path);
        MakeFolder(ParentFolder(native), L"cannot write " + path);
        // g_file_set_contents writes a temporary file beside the target, syncs it and renames
        // it over the target: the old file stays whole when anything fails.
        GError* raw = nullptr;
        if (!g_file_set_contents(native.c_str(), bytes.data(), static_cast<gssize>(bytes.size()),
                                 &raw)) {
            UniqueGError error(raw);
            throw FileError(error.get(), L"cannot write " + path);
        }
    }
};

class GtkMessages final : public MessageBoxPort {
  public:
    int MsgBox(const std::wstring& rawPrompt, int buttons, const std::wstring& title) override {
        // Line breaks come the Windows way, CR LF; GTK and terminals take LF.
        std::wstring prompt = rawPrompt;
        for (auto at = prompt.find(L"\r\n"); at != std::wstring::npos;
             at = prompt.find(L"\r\n", at))
            prompt.erase(at, 1);
        if (!EnsureGtk()) {
            std::fprintf(stderr, "%s: %s\n", utf8::FromWide(title).c_str(),
                         utf8::FromWide(prompt).c_str());
            return mb::Ok;
        }
        const int icon = buttons & 0x70;
        const Gtk::MessageType type = icon == mb::IconError     ? Gtk::MESSAGE_ERROR
                                      : icon == mb::IconWarning ? Gtk::MESSAGE_WARNING
                                                                : Gtk::MESSAGE_INFO;
        Gtk::MessageDialog dialog(utf8::FromWide(prompt), false, type, Gtk::BUTTONS_OK, true);
        dialog.set_title(utf8::FromWide(title));
        dialog.run();
        return mb::Ok;
    }
};

// The override puts the watch on every GDK window of every top-level window of the program
// (child windows such as the maker label's have shapes of their own) and puts the earlier
// shapes back when it is cleared.
class GtkPointer final : public PointerOverride {
  public:
    void SetMousePointer(PointerShape shape) override {
        if (shape == shape_) return;
        shape_ = shape;
        if (!EnsureGtk()) return;
        if (shape == PointerShape::Hourglass) {
            const Glib::RefPtr<Gdk::Display> display = Gdk::Display::get_default();
            const Glib::RefPtr<Gdk::Cursor> watch = Gdk::Cursor::create(display, Gdk::WATCH);
            for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
                if (const Glib::RefPtr<Gdk::Window> gdk = window->get_window()) Cover(gdk, watch);
            }
            display->flush();
        } else {
            for (auto& [window, cursor] : saved_) window->set_cursor(cursor);
            saved_.clear();
            if (const auto display = Gdk::Display::get_default()) display->flush();
        }
    }
    PointerShape MousePointer() const override { return shape_; }

  private:
    void Cover(const Glib::RefPtr<Gdk::Window>& window, const Glib::RefPtr<Gdk::Cursor>& watch) {
        saved_.emplace_back(window, window->get_cursor());
        window->set_cursor(watch);
        for (const Glib::RefPtr<Gdk::Window>& child : window->get_children()) Cover(child, watch);
    }

    PointerShape shape_ = PointerShape::Default;
    std::vector<std::pair<Glib::RefPtr<Gdk::Window>, Glib::RefPtr<Gdk::Cursor>>> saved_;
};

// ShellExecute's results that the opener can meet.
constexpr std::intptr_t kShellOk = 42;
constexpr std::intptr_t kShellNoAssociation = 31;  // SE_ERR_NOASSOC
constexpr std::intptr_t kShellFileNotFound = 2;    // ERROR_FILE_NOT_FOUND

// "open" hands the address (a URI, or a file path) to the user's default handler through GIO.
class GioShell final : public ShellPort {
  public:
    std::intptr_t ShellExecuteA(std::uintptr_t, const std::string& verb, const std::string& file,
                                const std::string&, const std::optional<std::string>&,
                                int) override {
        // The address comes in the "A" calls' code page, which is UTF-8 here.
        if (verb != "open" || file.empty()) return kShellNoAssociation;
        UniqueGChars scheme(g_uri_parse_scheme(file.c_str()));
        std::string uri = file;
        if (!scheme) {
            UniqueGChars converted(
                g_filename_to_uri(NativePath(utf8::ToWide(file)).c_str(), nullptr, nullptr));
            if (!converted) return kShellFileNotFound;
            uri = converted.get();
        }
        GError* raw = nullptr;
        if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &raw)) {
            UniqueGError error(raw);
            return g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_NOT_FOUND)
                       ? kShellFileNotFound
                       : kShellNoAssociation;
        }
        return kShellOk;
    }
};

class IcuLocalZone final : public LocalZone {
  public:
    std::wstring CurrentZoneKeyName() override { return IcuLocalTimeZoneKeyName(); }
};

}  // namespace

std::unique_ptr<SettingsStore> MakeKeyFileStore(const std::string& folder) {
    return std::make_unique<KeyFileStore>(folder);
}

std::unique_ptr<FileReplacer> MakeAtomicFileReplacer() {
    return std::make_unique<AtomicFileReplacer>();
}

std::unique_ptr<MessageBoxPort> MakeGtkMessages() {
    return std::make_unique<GtkMessages>();
}

bool EnsureGtk() {
    static const bool ready = [] {
        if (!gtk_init_check(nullptr, nullptr)) return false;
        Gtk::Main::init_gtkmm_internals();
        return true;
    }();
    return ready;
}

namespace {

// The time-zone catalogue presents the "Windows NT" key on Linux.
class LinuxVersion final : public SystemVersion {
  public:
    int GetVersionExA(OsVersionInfoA& info) override {
        info.dwPlatformId = kPlatformWin32Nt;
        return 1;
    }
};

}  // namespace

SettingsAdapters MakeSettingsAdapters() {
    // The "A" calls' text is the locale's, UTF-8.
    static const Utf8CodePage ansi;
    SettingsAdapters ports;
    ports.registry = MakeIcuRegistry();
    ports.version = std::make_unique<LinuxVersion>();
    ports.textCompare = MakeIcuTextCompare();
    ports.ansi = &ansi;
    ports.folder = MakeProgramFolder();
    ports.messages = MakeGtkMessages();
    ports.pointer = std::make_unique<GtkPointer>();
    ports.shell = std::make_unique<GioShell>();
    ports.store = MakeKeyFileStore(PelloxConfigFolder());
    ports.files = MakeAtomicFileReplacer();
    ports.localZone = std::make_unique<IcuLocalZone>();
    ports.clockFiles =
        std::make_unique<XmlClockFileSource>(PlatformFileStamps(), PlatformXmlComponent());
    return ports;
}
