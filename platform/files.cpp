#include "platform/files.h"

#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {
namespace {

std::string Home() {
  const char* h = std::getenv("HOME");
  return (h && *h) ? std::string(h) : std::string("/tmp");
}

std::string StripSlash(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

// Reads XDG_DOCUMENTS_DIR from the user-dirs file.
std::optional<std::string> XdgDocuments() {
  if (const char* d = std::getenv("XDG_DOCUMENTS_DIR"); d && *d) return std::string(d);
  const char* cfg = std::getenv("XDG_CONFIG_HOME");
  const std::string file = ((cfg && *cfg) ? std::string(cfg) : Home() + "/.config") + "/user-dirs.dirs";
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    const std::string key = "XDG_DOCUMENTS_DIR=";
    if (line.rfind(key, 0) != 0) continue;
    std::string v = line.substr(key.size());
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    if (v.rfind("$HOME", 0) == 0) v = Home() + v.substr(5);
    return v;
  }
  return std::nullopt;
}

}  // namespace

std::string DocumentsFolder() {
  if (auto d = XdgDocuments(); d && FolderExists(*d)) return StripSlash(*d);
  const std::string docs = Home() + "/Documents";
  if (FolderExists(docs)) return docs;
  return StripSlash(Home());
}

std::string ExecutableFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  return StripSlash(exe.parent_path().string()) + "/";
}

std::string ConfigFolder() {
  const char* cfg = std::getenv("XDG_CONFIG_HOME");
  return ((cfg && *cfg) ? std::string(cfg) : Home() + "/.config") + "/gravelune";
}

std::string CurrentFolder() {
  std::error_code ec;
  const auto p = fs::current_path(ec);
  return ec ? std::string() : p.string();
}

bool SetCurrentFolder(const std::string& folder) {
  std::error_code ec;
  fs::current_path(folder, ec);
  return !ec;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> noms;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
  if (ec) return noms;
  for (const fs::directory_iterator fin; it != fin; it.increment(ec)) {
    if (ec) break;
    std::error_code ec2;
    if (it->is_regular_file(ec2)) noms.push_back(it->path().filename().string());
  }
  return noms;
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

bool IsWritableFolder(const std::string& folder) { return FolderExists(folder) && ::access(folder.c_str(), W_OK) == 0; }

std::optional<uint32_t> Attributes(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return static_cast<uint32_t>(st.st_mode & 07777);
}

bool ReadFile(const std::string& path, std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::string out;
  char buf[1 << 16];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (ok) bytes.swap(out);
  return ok;
}

std::string TemporaryNameBeside(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, FileLock* lock) {
  const std::string tmp = TemporaryNameBeside(path);
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  // The file it replaces keeps its permissions.
  const std::optional<uint32_t> mode = Attributes(path);
  size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    done += static_cast<size_t>(w);
  }
  FileLock nouveau;
  if (ok && lock) nouveau.Take(tmp);
  // A file system without permissions keeps its own: no failure for that.
  if (ok && mode) (void)::fchmod(fd, static_cast<mode_t>(*mode));
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) {
    // errno keeps the cause of the failure for the caller's message.
    const int cause = errno;
    ::unlink(tmp.c_str());
    errno = cause;
    return false;
  }
  if (lock) {
    // A file system without locks: the new file is taken after the rename.
    if (nouveau.Held())
      nouveau.Renamed(path);
    else
      nouveau.Take(path);
    *lock = std::move(nouveau);
  }
  return true;
}

bool CopyFile(const std::string& from, const std::string& to) {
  std::string bytes;
  return ReadFile(from, bytes) && WriteFileAtomic(to, bytes);
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::string FolderOf(const std::string& path) {
  const size_t p = path.rfind('/');
  return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string FileNameOf(const std::string& path) {
  const size_t p = path.rfind('/');
  return p == std::string::npos ? path : path.substr(p + 1);
}

std::string ExtensionOf(const std::string& path) {
  const std::string name = FileNameOf(path);
  const size_t p = name.rfind('.');
  return (p == std::string::npos || p == 0) ? std::string() : name.substr(p);
}

std::string ChangeExtension(const std::string& path, const std::string& ext) {
  const std::string e = ExtensionOf(path);
  return path.substr(0, path.size() - e.size()) + ext;
}

}  // namespace platform
