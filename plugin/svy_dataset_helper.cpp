#include "plugin/svy_dataset_helper.h"

#include "host/coordinate_system.h"
#include "model/constants.h"
#include "model/error_propagation.h"
#include "model/survey_error.h"
#include "readers/survey_factory.h"

namespace veldrane {
namespace {

constexpr const char* kModule = "SvyDatasetHelper";

std::string UnexpectedSurveyType(std::int32_t type) { return "Unexpected survey type : " + std::to_string(type); }

template <class Iterator>
bool HasItems(const std::shared_ptr<Iterator>& items) {
  return items && items->Size() >= 1;
}

}  // namespace

SvyDatasetHelper::SvyDatasetHelper() : SvyDatasetHelper(DefaultSurveySource()) {}

SvyDatasetHelper::SvyDatasetHelper(SurveySource source) : source_(std::move(source)) {}

std::filesystem::path SvyDatasetHelper::DatasetPath() const {
  return std::filesystem::path(workspacePath_) / datasetName_;
}

std::filesystem::path SvyDatasetHelper::MetadataPath() const {
  std::filesystem::path path = DatasetPath();
  path += ".xml";
  return path;
}

void SvyDatasetHelper::Report(const char* member, const std::exception& failure) const {
  ReportProcedureError(true, ProcedureWhere(member, kModule), failure);
}

bool SvyDatasetHelper::IsTraverseDataset() const { return IsValidTraverseFile(DatasetPath().string()); }

// The class maps, built once from the survey's non-empty collections.
void SvyDatasetHelper::GetIndexDicts() {
  if (classes_ || IsTraverseDataset()) return;
  classes_.emplace();
  LoadSurvey();
  if (!survey_) return;
  const auto add = [this](ClassKind kind) {
    classes_->push_back(ClassEntry{datasetName_ + " " + std::string(ClassKindName(kind)), kind});
  };
  if (HasItems(survey_->CrossSections())) {
    add(ClassKind::CrossSections);
    add(ClassKind::CrossSectionPoints);
  }
  if (HasItems(survey_->ProfileCenterlines())) {
    add(ClassKind::Profiles);
    add(ClassKind::ProfilePoints);
  }
  if (HasItems(survey_->Areas())) {
    add(ClassKind::Areas);
    add(ClassKind::AreaPoints);
  }
  if (HasItems(survey_->MiscShotPoints())) add(ClassKind::MiscellaneousShotPoints);
  if (HasItems(survey_->VerticalControls())) add(ClassKind::Benchmarks);
  if (HasItems(survey_->Gages())) add(ClassKind::Gages);
}

const std::vector<SvyDatasetHelper::ClassEntry>& SvyDatasetHelper::Classes() const {
  static const std::vector<ClassEntry> kNone;
  return classes_ ? *classes_ : kNone;
}

std::optional<ClassKind> SvyDatasetHelper::KindOfClass(std::int32_t classIndex) {
  GetIndexDicts();
  if (surveyType_ == kSurveyTypeTraverse) {
    if (classIndex == 0) return ClassKind::Traverses;
    if (classIndex == 1) return ClassKind::TraversePoints;
    return std::nullopt;
  }
  if (classIndex < 0 || static_cast<std::size_t>(classIndex) >= Classes().size()) return std::nullopt;
  return Classes()[static_cast<std::size_t>(classIndex)].kind;
}

ClassKind SvyDatasetHelper::FindClass(std::int32_t classIndex, const char* source, const char* typeSource,
                                      bool namedIndex) {
  if (surveyType_ != kSurveyTypeSurvey && surveyType_ != kSurveyTypeTraverse)
    throw RaisedError(kErrUnexpected, typeSource, UnexpectedSurveyType(surveyType_));
  if (const std::optional<ClassKind> kind = KindOfClass(classIndex)) return *kind;
  std::string description = "Unexpected Class Index";
  if (namedIndex && surveyType_ == kSurveyTypeSurvey) description += " " + ClassNameAt(classIndex);
  throw RaisedError(kErrUnexpected, source, description);
}

std::string SvyDatasetHelper::ClassNameAt(std::int32_t classIndex) const {
  if (classIndex < 0 || static_cast<std::size_t>(classIndex) >= Classes().size()) return std::string();
  return Classes()[static_cast<std::size_t>(classIndex)].name;
}

// --- IPlugInDatasetHelper: classes and fields --------------------------------

std::int32_t SvyDatasetHelper::ClassCount() {
  try {
    GetIndexDicts();
    switch (surveyType_) {
      case kSurveyTypeSurvey: return static_cast<std::int32_t>(Classes().size());
      case kSurveyTypeTraverse: return 2;
      default: throw RaisedError(kErrUnexpected, "ordane.SvyDatasetHelper.ClassCount", UnexpectedSurveyType(surveyType_));
    }
  } catch (const std::exception& failure) {
    Report("IPlugInDatasetHelper_ClassCount", failure);
    return 0;
  }
}

std::string SvyDatasetHelper::ClassName(std::int32_t classIndex) {
  try {
    GetIndexDicts();
    switch (surveyType_) {
      case kSurveyTypeSurvey: return ClassNameAt(classIndex);
      case kSurveyTypeTraverse:
        if (classIndex == 0 || classIndex == 1) {
          const ClassKind kind = classIndex == 0 ? ClassKind::Traverses : ClassKind::TraversePoints;
          return datasetName_ + " " + std::string(ClassKindName(kind));
        }
        throw RaisedError(kErrUnexpected, "Ordane.SvyDatasetHelper.IPlugInDatasetHelper_ClassName",
                          "Unexpected Class Index");
      default: throw RaisedError(kErrUnexpected, "ordane.SvyDatasetHelper.ClassName", UnexpectedSurveyType(surveyType_));
    }
  } catch (const std::exception& failure) {
    Report("IPlugInDatasetHelper_ClassName", failure);
    return std::string();
  }
}

std::int32_t SvyDatasetHelper::ClassIndex(const std::string& name) {
  try {
    GetIndexDicts();
    switch (surveyType_) {
      case kSurveyTypeSurvey:
        for (std::size_t i = 0; i < Classes().size(); ++i) {
          if (Classes()[i].name == name) return static_cast<std::int32_t>(i);
        }
        return 0;
      case kSurveyTypeTraverse:
        for (const ClassKind kind : {ClassKind::Traverses, ClassKind::TraversePoints}) {
          const std::string bare(ClassKindName(kind));
          if (name == bare || name == datasetName_ + " " + bare) return kind == ClassKind::Traverses ? 0 : 1;
        }
        throw RaisedError(kErrUnexpected, "Ordane.SvyDatasetHelper.IPlugInDatasetHelper_ClassIndex",
                          "Unexpected Class Name");
      default: throw RaisedError(kErrUnexpected, "ordane.SvyDatasetHelper.ClassIndex", UnexpectedSurveyType(surveyType_));
    }
  } catch (const std::exception& failure) {
    Report("IPlugInDatasetHelper_ClassIndex", failure);
    return 0;
  }
}

std::shared_ptr<Fields> SvyDatasetHelper::GetFields(std::int32_t classIndex) {
  try {
    GetIndexDicts();
    const ClassKind kind = FindClass(classIndex, "Ordane.SvyDatasetHelper.IPlugInDatasetHelper_Fields",
                                     "ordane.SvyDatasetHelper.Fields", true);
    auto fields = std::make_shared<Fields>(FeatureClassRequiredFields());
    for (const SchemaField& attribute : ClassSchema(kind)) AddNewField(*fields, attribute);
    GeometryDef& shape = *fields->EditField(fields->GeometryFieldIndex()).EditGeometryDefinition();
    const ClassGeometry geometry = ClassGeometryOf(kind);
    shape.SetGeometryType(geometry.type);
    shape.SetHasZ(geometry.hasZ);
    shape.SetHasM(geometry.hasM);
    shape.SetSpatialReference(GetCoordinateSystem(GetCoordSysConst()));
    return fields;
  } catch (const std::exception& failure) {
    Report("IPlugInDatasetHelper_Fields", failure);
    return nullptr;
  }
}

// Length and precision are the size; scale 3; nullable.
void SvyDatasetHelper::AddNewField(Fields& fields, const SchemaField& attribute) {
  Field field(attribute.name, attribute.type);
  field.SetLength(attribute.size);
  field.SetPrecision(attribute.size);
  field.SetScale(3);
  field.SetIsNullable(true);
  fields.AddField(std::move(field));
}

std::int32_t SvyDatasetHelper::OIDFieldIndex(std::int32_t classIndex) {
  try {
    GetIndexDicts();
    if (classIndex < 0 || classIndex >= ClassCount())
      throw RaisedError(kErrUnexpected, "Ordane.SvyDatasetHelper.IPlugInDatasetHelper_OIDFieldIndex",
                        "Unexpected Class Index");
    return 0;
  } catch (const std::exception& failure) {
    Report("IPlugInDatasetHelper_OIDFieldIndex", failure);
    return 0;
  }
}

std::int32_t SvyDatasetHelper::ShapeFieldIndex(std::int32_t classIndex) {
  try {
    GetIndexDicts();
    const std::int32_t count = ClassCount();
    if (classIndex < 0 || classIndex >= count)
      throw RaisedError(kErrUnexpected, "Ordane",
                        "Unexpected Class Index" + std::to_string(classIndex) + "/" + std::to_string(count));
    return 1;
  } catch (const std::exception& failure) {
    Report("IPlugInDatasetHelper_ShapeFieldIndex", failure);
    return 0;
  }
}

// --- IPlugInDatasetInfo ------------------------------------------------------

std::int32_t SvyDatasetHelper::DatasetType() { return kDatasetTypeFeatureDataset; }

std::int32_t SvyDatasetHelper::GeometryType() { return static_cast<std::int32_t>(HostGeometryType::Any); }

}  // namespace veldrane
