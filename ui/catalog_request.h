#pragma once
// What the catalog is asked to show, from its command line
//   veldrane-catalog [PATH] [--select PATH] [--tab TAB] [--goto FILE:LINE] [--edit] [--find TEXT]
//                    [--screenshot OUT.png]
// or from a second `veldrane-catalog` handing its request to the running one.
#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringList>

namespace veldrane::ui {

// "Contents", "Preview", "Table", "Text", "Metadata".
const QStringList& CatalogTabNames();

struct CatalogRequest {
  QString path;        // the folder the tree starts at
  QString select;      // a folder, a survey file, or "<file>/<class name or kind>"
  QString tab;         // one of CatalogTabNames()
  QString gotoFile;    // with gotoLine: jump to that line
  int gotoLine = 0;
  bool edit = false;   // start editing in the Text tab (its problems get marked)
  QString find;        // open "Find and Replace" and find this text
  QString screenshot;  // save the window as this PNG, then exit

  bool HasGoto() const { return !gotoFile.isEmpty(); }
  // Parses the arguments (without the program name); returns the problem, or
  // empty. Relative paths are made absolute against the current folder.
  static QString Parse(const QStringList& arguments, CatalogRequest& request);
  // The request as the single-instance socket carries it, and back.
  QByteArray Serialize() const;
  static CatalogRequest Deserialize(const QByteArray& bytes);
};

inline constexpr const char* kCatalogUsage =
    "Usage: veldrane-catalog [PATH] [--select PATH] [--tab Contents|Preview|Table|Text|Metadata]\n"
    "                        [--goto FILE:LINE] [--edit] [--find TEXT] [--screenshot OUT.png]\n"
    "\n"
    "Browses a folder of survey files (PATH, else the last folder used, else the home folder).\n"
    "  --select PATH       select a folder, survey file or \"FILE/CLASS\" in the tree\n"
    "  --tab TAB           show that tab\n"
    "  --goto FILE:LINE    show FILE in the Text tab at LINE; a catalog already running\n"
    "                      does it and comes forward\n"
    "  --edit              start editing the file in the Text tab (its problems are marked)\n"
    "  --find TEXT         open Find and Replace and find TEXT from the caret\n"
    "  --screenshot OUT    once everything asked for is shown, save the window (1280x800)\n"
    "                      as a PNG and exit: 0 when done, 1 when a path does not exist\n";

}  // namespace veldrane::ui

Q_DECLARE_METATYPE(veldrane::ui::CatalogRequest)
