#include "fuzz/fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "cli/survey_json.h"
#include "model/notifier.h"
#include "model/survey_error.h"
#include "readers/survey_factory.h"

namespace veldrane::fuzz {
namespace {

class SilentNotifier : public INotifier {
 public:
  void Notify(NoticeKind, const std::string&, const std::string&) override {}
};

// Walks a 0- or 1-based item iterator both ways: by GetNext and by GetItem
// over the whole index range plus, when `indexed`, one past each end (the
// PRO reader's profile iterator ignores the index by design and always
// answers its one profile).
template <class Iterator, class Visit>
void CheckIterator(const std::shared_ptr<Iterator>& it, int indexBase, Visit visit, bool indexed = true) {
  if (!it) return;
  const std::int32_t size = it->Size();
  it->Initialize();
  std::int32_t count = 0;
  while (auto item = it->GetNext()) {
    visit(*item);
    if (++count > size) throw std::logic_error("iterator yields more items than its Size");
  }
  if (count != size) throw std::logic_error("iterator yields fewer items than its Size");
  if (indexed && (it->GetItem(indexBase - 1) || it->GetItem(indexBase + size))) {
    throw std::logic_error("iterator returns an item outside its range");
  }
  for (std::int32_t i = 0; i < size; ++i) {
    if (!it->GetItem(indexBase + i)) throw std::logic_error("iterator misses an item inside its range");
  }
}

const auto kLeaf = [](auto&) {};
const auto kPoints = [](auto& feature) { CheckIterator(feature.Points(), 0, kLeaf); };

void CheckRing(IAreaRing& ring, int depth) {
  // Rings nest one level (holes of an outer ring); a deeper chain would be
  // a cycle, which must not exist.
  if (depth > 2) throw std::logic_error("area rings nest deeper than holes");
  CheckIterator(ring.SurveyPoints(), 0, kLeaf);
  CheckIterator(ring.InternalRings(), 0, [depth](IAreaRing& hole) { CheckRing(hole, depth + 1); });
}

// Every collection of the survey, walked both ways.
void CheckIterators(ISurvey& s) {
  CheckIterator(s.CrossSections(), 0, kPoints);
  CheckIterator(s.ProfileCenterlines(), 0, kPoints, /*indexed=*/false);
  CheckIterator(s.MiscShotPoints(), 0, kLeaf);
  CheckIterator(s.Areas(), 0, [](ISurveyArea& a) {
    if (auto ring = a.AreaRing()) CheckRing(*ring, 0);
  });
  CheckIterator(s.VerticalControls(), 1, kLeaf);
  CheckIterator(s.Gages(), 1, kLeaf);
  CheckIterator(s.CrewMembers(), 0, kLeaf);
  CheckIterator(s.Equipment(), 0, kLeaf);
  CheckIterator(s.Weather(), 0, kLeaf);
  if (auto baseline = s.Baseline()) CheckIterator(baseline->TraversePoints(), 0, kLeaf);
  s.GetCustomCode("TOE"), s.HasCustomCode("TOE");
}

}  // namespace

// The process's scratch folder, removed with what it holds when the process
// exits normally (a replay run or a fuzzing session that ends).
class ScratchFolderOwner {
 public:
  ScratchFolderOwner() : path_((std::filesystem::temp_directory_path() / "veldrane-fuzz-XXXXXX").string()) {
    if (!mkdtemp(path_.data())) throw std::runtime_error("cannot make the fuzz scratch folder");
  }
  ~ScratchFolderOwner() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

const std::string& ScratchFolder() {
  static const ScratchFolderOwner folder;
  return folder.Path();
}

std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = (std::filesystem::path(ScratchFolder()) / name).string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) throw std::runtime_error("cannot write the fuzz input file");
  return path;
}

void SilenceNotifier() {
  static SilentNotifier notifier;
  SetNotifier(&notifier);
}

void OpenAndWalk(const std::string& path) {
  std::shared_ptr<IInterface> object;
  try {
    object = OpenSurveyFile(path);
  } catch (const RaisedError&) {
    return;  // a fatal record: the documented way a reader gives up
  }
  if (!object) throw std::logic_error("the survey factory returned nothing");
  if (auto survey = std::dynamic_pointer_cast<ISurvey>(object))
    CheckIterators(*survey);
  else if (auto traverse = std::dynamic_pointer_cast<ITraverse>(object))
    CheckIterator(traverse->TraversePoints(), 0, kLeaf);
  // The dump reads every member (lazily computed ones too) and drains the
  // error queue last; its text must parse and be exactly what nlohmann
  // prints for the parsed value. The parser is the UTF-8 check too: it
  // throws on any ill-formed sequence (overlongs and surrogates included).
  const std::string text = SurveyFileJsonText(path, object, true);
  if (nlohmann::ordered_json::parse(text).dump(2) != text)
    throw std::logic_error("dump JSON does not survive a round trip");
}

}  // namespace veldrane::fuzz
