#pragma once
// The one place that turns a file path into a survey object: the reader is
// chosen by the file's extension (compared without regard to case), made,
// run over the file, and its result handed back as ISurvey or, for
// traverse and baseline files, as ITraverse.
//
//   ".em", ".cl"   EMSurvey          ISurvey
//   ".830"         Corvid830Survey   ISurvey
//   ".pro"         ProSurvey         ISurvey
//   ".27", ".83"   TesselTraverse    ITraverse
//   ".bl"          EMBaseline        ITraverse
//
// Plugging in a reader: every reader except EMSurvey is reached through the
// opener table `kSurveyReaders` at the top of survey_factory.cpp, one entry
// per SurveyReaderKind. A reader's opener makes the reader object, runs its
// read (OpenSurvey / OpenTraverse) and returns it as IInterface; to plug a
// reader in, include its header there and put its opener in its entry. A
// kind whose entry is still empty makes the factory raise a RaisedError
// saying that the file type is not supported yet.
//
// Problems inside a file never make the factory fail: they are in the
// result's error queue. Only an unrecognised extension, a reader that is
// not available, or a fatal record raised by a reader reach the caller, as
// RaisedError.
//
// Files are read through the calling thread's file access
// (config/file_access.h).
#include <memory>
#include <string>

#include "model/features.h"
#include "model/interface.h"

namespace veldrane {

enum class SurveyReaderKind { Corvid830, Pro, Traverse, Baseline };

// Makes a reader, reads `path` with it and returns the reader.
using SurveyReaderOpener = std::shared_ptr<IInterface> (*)(const std::string& path);

// The opener plugged in for `kind`, or nullptr while none is.
SurveyReaderOpener FindSurveyReader(SurveyReaderKind kind);

std::shared_ptr<ISurvey> OpenEMSurveyFile(const std::string& path);
std::shared_ptr<ISurvey> OpenCorvid830SurveyFile(const std::string& path);
std::shared_ptr<ISurvey> OpenProSurveyFile(const std::string& path);
// ".27" and ".83" files as traverses, ".bl" files as baselines; any other
// extension raises "<path> has an unrecognized traverse extension".
std::shared_ptr<ITraverse> OpenTraverseFile(const std::string& path);
std::shared_ptr<ITraverse> OpenBaselineFile(const std::string& path);
// Any supported file; the result offers ISurvey or ITraverse (ask with
// std::dynamic_pointer_cast). Any other extension raises
// "<path> has an unrecognized survey/traverse extension".
std::shared_ptr<IInterface> OpenSurveyFile(const std::string& path);
// Reads `bytes` exactly as OpenSurveyFile reads the file at `path` when it
// holds them: the same reader by extension, the same errors with the same
// file name and line numbers. CODES.DAT and a baseline file the text names
// are still looked up beside `path`, through the calling thread's file
// access; nothing needs to exist at `path` itself.
std::shared_ptr<IInterface> OpenSurveyText(const std::string& path, std::string bytes);

// Whether the path ends in a survey or traverse extension (".em", ".cl",
// ".830", ".pro", ".83", ".27", ".bl"), in any letter case.
bool IsValidSurveyFile(const std::string& path);
// Whether the path ends in ".83", ".27" or ".bl", in any letter case.
bool IsValidTraverseFile(const std::string& path);

}  // namespace veldrane
