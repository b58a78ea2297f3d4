#include "ui/survey_text_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <system_error>

#include "config/file_system.h"

namespace veldrane::ui {
namespace fs = std::filesystem;

namespace {

fs::path LocalPath(const QString& path) { return fs::path(path.toStdString()); }

// The file a save replaces: the target of a symbolic link rather than the
// link itself, so the link survives the rename.
fs::path SaveTarget(const QString& path) {
  std::error_code error;
  const fs::path local = LocalPath(path);
  if (!fs::is_symlink(local, error)) return local;
  const fs::path target = fs::canonical(local, error);
  return error ? local : target;
}

}  // namespace

bool SurveyTextFile::ReadStamp(const QString& path, Stamp& stamp) {
  struct stat info {};
  if (::stat(LocalPath(path).c_str(), &info) != 0) return false;
  stamp = {info.st_dev, info.st_ino, static_cast<std::int64_t>(info.st_size),
           static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
  return true;
}

SurveyTextFile SurveyTextFile::Load(const QString& path, QString& text) {
  SurveyTextFile file;
  file.path_ = path;
  // The stamp first: a change made while the file is read shows as a change.
  ReadStamp(path, file.stamp_);
  const std::string bytes = ReadAllText(LocalPath(path));
  file.format_ = SurveyTextFormat::Detect(bytes, text);
  return file;
}

SurveyTextFile::DiskState SurveyTextFile::OnDisk() const {
  Stamp now;
  if (!ReadStamp(path_, now)) return DiskState::Missing;
  return now == stamp_ ? DiskState::Unchanged : DiskState::Changed;
}

QString SurveyTextFile::Save(const QString& text, const QString& loadedText) {
  const EncodedText encoded = format_.Encode(text, loadedText);
  if (encoded.badLine > 0) {
    return QStringLiteral("line %1 holds the character \"%2\", which the file's encoding (%3) cannot store")
        .arg(encoded.badLine)
        .arg(encoded.badCharacter)
        .arg(format_.Encoding() == TextEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252"));
  }
  if (OnDisk() == DiskState::Missing) return QStringLiteral("the file no longer exists");
  const fs::path target = SaveTarget(path_);
  // The rename would replace a file that may not be written, so that is
  // refused first (also for root, who may write anything).
  std::error_code error;
  const auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((fs::status(target, error).permissions() & writeBits) == fs::perms::none) {
    return QStringLiteral("the file is read-only");
  }
  if (::access(target.c_str(), W_OK) != 0) return QString::fromStdString(std::generic_category().message(errno));
  try {
    WriteFileAtomically(target, encoded.bytes);
  } catch (const fs::filesystem_error& failure) {
    return QString::fromStdString(failure.code().message());
  } catch (const std::exception& failure) {
    return QString::fromStdString(failure.what());
  }
  format_.Adopt(text, loadedText);
  ReadStamp(path_, stamp_);
  return {};
}

}  // namespace veldrane::ui
