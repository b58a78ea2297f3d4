#pragma once
// A survey file open in the source view: its path, the format its text is
// written in, and what the file looked like on disk when it was loaded or
// last saved, so that a change made by another program is noticed before a
// save would overwrite it.
//
// Saving never leaves a half-written file: the new bytes go to a temporary
// file in the same folder, are flushed to disk and renamed over the file
// (config/file_system.h). Whatever stops a save leaves the old file as it
// was.
#include <QString>
#include <cstdint>
#include <sys/types.h>

#include "ui/survey_text_format.h"

namespace veldrane::ui {

class SurveyTextFile {
 public:
  enum class DiskState { Unchanged, Changed, Missing };

  // Reads the file into `text` (lines joined by "\n"). Throws
  // std::filesystem::filesystem_error when it cannot be read.
  static SurveyTextFile Load(const QString& path, QString& text);

  const QString& Path() const { return path_; }
  const SurveyTextFormat& Format() const { return format_; }
  // Compares the file on disk with the loaded or last saved one.
  DiskState OnDisk() const;

  // Writes `text` in the file's format. Returns why nothing was written (the
  // text for "... could not be saved: <reason>"), or an empty string after
  // a successful save. `loadedText` is the text as loaded or last saved.
  QString Save(const QString& text, const QString& loadedText);

 private:
  struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modifiedNs = 0;
    bool operator==(const Stamp&) const = default;
  };
  static bool ReadStamp(const QString& path, Stamp& stamp);

  QString path_;
  SurveyTextFormat format_;
  Stamp stamp_;
};

}  // namespace veldrane::ui
