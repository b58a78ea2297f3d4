// veldrane-catalog: the desktop catalog of survey files. One runs per user
// session; a second start hands its request (`--goto FILE:LINE` above all)
// to the running one and ends. With --screenshot it runs on its own, saves
// the window once everything asked for is shown, and exits.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <cstdio>

#include "gdal/survey_report.h"
#include "ui/catalog_request.h"
#include "ui/catalog_window.h"
#include "ui/single_instance.h"
#include "ui/task_runner.h"

namespace {

using namespace veldrane::ui;

void PrintError(const QString& text) { std::fprintf(stderr, "veldrane-catalog: %s\n", qUtf8Printable(text)); }

// Messages of an unattended run: written to standard error; questions get
// their last (most cautious) answer, requests for names are cancelled.
class ConsoleMessages final : public UserMessages {
 public:
  void Inform(const QString& text, const QString& title, MessageIcon) override { PrintError(title + ": " + text); }
  MessageButton Ask(const QString& text, const QString& title, std::vector<MessageButton> buttons,
                    MessageIcon) override {
    PrintError(title + ": " + text);
    return buttons.empty() ? MessageButton::Ok : buttons.back();
  }
  std::optional<QString> AskText(const QString&, const QString&, const QString&) override { return std::nullopt; }
  std::optional<QString> AskSaveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
  std::optional<QString> AskFolder(const QString&, const QString&) override { return std::nullopt; }
};

// The window with its visible tool windows (Find and Replace) drawn over its
// upper right corner, framed: an offscreen screen has no window manager to
// place them.
QImage WithToolWindows(QWidget& window) {
  QImage image = window.grab().toImage();
  QPainter painter(&image);
  painter.setPen(QColor(120, 120, 120));
  int top = 72;
  for (QWidget* tool : QApplication::topLevelWidgets()) {
    if (tool == &window || !tool->isVisible()) continue;
    const QPixmap pixmap = tool->grab();
    const QRect place(image.width() - pixmap.width() - 32, top, pixmap.width(), pixmap.height());
    painter.drawPixmap(place.topLeft(), pixmap);
    painter.drawRect(place.adjusted(-1, -1, 0, 0));
    top += pixmap.height() + 16;
  }
  return image;
}

int Screenshot(const CatalogRequest& request) {
  ConsoleMessages messages;
  CatalogWindow window(CatalogWindow::Options{&messages, false});
  if (request.path.isEmpty()) window.OpenFolder(window.StartFolder());
  window.show();
  int status = 0;
  window.Apply(request, [&](const QString& problems) {
    if (!problems.isEmpty()) {
      for (const QString& problem : problems.split('\n')) PrintError(problem);
      status = 1;
    } else {
      window.PrepareScreenshot();
      QApplication::processEvents();
      const QImage image = WithToolWindows(window);
      if (!image.save(request.screenshot, "PNG")) {
        PrintError(request.screenshot + ": the image could not be written");
        status = 1;
      }
    }
    QApplication::quit();
  });
  QApplication::exec();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("veldrane-catalog");
  const QStringList arguments = QApplication::arguments().mid(1);
  if (arguments.contains("--help") || arguments.contains("-h")) {
    std::fputs(kCatalogUsage, stdout);
    return 0;
  }
  CatalogRequest request;
  if (const QString problem = CatalogRequest::Parse(arguments, request); !problem.isEmpty()) {
    PrintError(problem);
    std::fputs(kCatalogUsage, stderr);
    return 2;
  }
  veldrane::ogr::RegisterDriversForTools();  // what "Export to GeoPackage…" writes with
  if (!request.screenshot.isEmpty()) return Screenshot(request);

  SingleInstance instance(SingleInstance::DefaultName());
  if (instance.HandOver(request)) return 0;
  CatalogWindow window;
  const auto report = [&window](const QString& problems) {
    if (!problems.isEmpty()) window.Messages().Inform(problems, "Veldrane Catalog", MessageIcon::Warning);
  };
  if (!instance.Listen()) PrintError("another catalog could not be reached, and this one cannot be reached either");
  QObject::connect(&instance, &SingleInstance::requestReceived, &window, [&](const CatalogRequest& received) {
    window.showNormal();
    window.raise();
    window.activateWindow();
    window.Apply(received, report);
  });
  if (request.path.isEmpty()) window.OpenFolder(window.StartFolder());
  window.show();
  window.Apply(request, report);
  return QApplication::exec();
}
