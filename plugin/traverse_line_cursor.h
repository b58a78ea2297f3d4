#pragma once
// The one record of a traverse dataset's "Traverses" class: the whole
// traverse as a polyline of its stations (X = Easting, Y = Northing,
// M = Station). A traverse without stations has no record. The query
// envelope is kept but never tested: the single record is always served.
#include <cstdint>
#include <memory>

#include <ogr_geometry.h>

#include "model/features.h"
#include "plugin/cursor_base.h"

namespace veldrane {

class TrvLineCursorHelper final : public SvyCursorBase {
 public:
  TrvLineCursorHelper();

  void Initialize(std::shared_ptr<ITraverse> traverse, std::int32_t csid);
  std::int32_t RecordCount() const { return recordCount_; }

 protected:
  bool IsInitialized() const override { return traverse_ != nullptr; }
  bool HasCurrent() const override;
  bool Advance() override;
  void Rewind() override {}
  bool PassesFilter(const EnvelopeRelation&) override { return true; }
  // The only record is 0.
  bool PositionOnOid(std::int32_t) override;
  void WriteValue(const SchemaField& field, IRowBuffer& row, std::int32_t pos) override;
  void BuildShape(OGRGeometry& geometry) override;
  void OnUnknownField(const std::string& name) override;

 private:
  std::shared_ptr<ITraverse> traverse_;
  std::int32_t recordCount_ = 0;
};

}  // namespace veldrane
