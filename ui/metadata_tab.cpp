#include "ui/metadata_tab.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QXmlStreamReader>

#include "ui/dataset_operations.h"
#include "ui/survey_reader.h"
#include "ui/task_runner.h"

namespace veldrane::ui {

MetadataTab::MetadataTab(SurveyReader& reader, TaskRunner& tasks, QWidget* parent)
    : CatalogTab(parent), reader_(reader), tasks_(tasks) {
  setAccessibleName("Metadata");
  tree_ = new QTreeWidget(this);
  tree_->setAccessibleName("Metadata document");
  tree_->setHeaderLabels({"Element", "Value"});
  tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  write_ = new QPushButton("Write Metadata", this);
  write_->setAccessibleName("Write Metadata");
  write_->setEnabled(false);
  status_ = new QLabel(this);
  status_->setAccessibleName("Metadata status");
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(status_, 1);
  bottom->addWidget(write_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tree_, 1);
  layout->addLayout(bottom);
  connect(write_, &QPushButton::clicked, this, [this] {
    if (!shown_.isEmpty()) emit writeRequested(shown_);
  });
}

void MetadataTab::FillTree(QTreeWidget& tree, const QString& xml) {
  tree.clear();
  QXmlStreamReader reader(xml);
  QTreeWidgetItem* current = nullptr;
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement()) {
      current = current ? new QTreeWidgetItem(current, {reader.name().toString()})
                        : new QTreeWidgetItem(&tree, {reader.name().toString()});
      for (const QXmlStreamAttribute& attribute : reader.attributes())
        new QTreeWidgetItem(current, {'@' + attribute.name().toString(), attribute.value().toString()});
    } else if (reader.isEndElement() && current) {
      current = current->parent();
    } else if (reader.isCharacters() && !reader.isWhitespace() && current) {
      current->setText(1, current->text(1) + reader.text().toString().trimmed());
    }
  }
  tree.expandAll();
}

void MetadataTab::ShowItem(const CatalogItem& item) {
  const bool survey = item.kind == CatalogItem::Kind::SurveyFile || item.kind == CatalogItem::Kind::FeatureClass;
  const QString path = survey ? item.path : QString();
  if (path == shown_ && !path.isEmpty()) return;
  shown_ = path;
  const unsigned generation = ++generation_;
  tree_->clear();
  write_->setEnabled(false);
  status_->setText(survey ? QString() : QString("Select a survey file to see its metadata."));
  if (!survey) return;
  SurveyReader* reader = &reader_;
  reader_.Run<MetadataText>(
      this, tasks_, QString("Reading the metadata of %1").arg(QFileInfo(path).fileName()),
      [reader, path](TaskProgress&) { return ReadMetadataXml(*reader, path); },
      [this, generation, path](MetadataText text, bool) {
        if (generation != generation_) return;
        FillTree(*tree_, text.xml);
        write_->setEnabled(text.problem.isEmpty());
        const QString stored = QFileInfo(path).fileName() + ".xml";
        if (!text.problem.isEmpty()) status_->setText(text.problem);
        else if (QFileInfo::exists(path + ".xml")) status_->setText(stored + ", filled from the survey file's own values");
        else status_->setText("Not written yet: \"Write Metadata\" saves it as " + stored);
      });
}

void MetadataTab::Forget(const QString& path) {
  if (shown_ == path) shown_.clear();
}

}  // namespace veldrane::ui
