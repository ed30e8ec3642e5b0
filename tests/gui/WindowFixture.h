#pragma once
// Shared set-up of the main-window tests: a private program folder (the application settings
// file and the hand-off file land there), the scripted user-interface services, fresh rename
// settings, a folder for pictures, and helpers to build the window and close the splash.

#include "app/common/ProgramInfo.h"
#include "app/dialogs/wSplash.h"
#include "app/mainwindow/FileListView.h"
#include "tests/support/ScriptedUiServices.h"
#include "app/mainwindow/wMain.h"
#include "app/naming/ConfigClass.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <memory>

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    programDir = testsupport::makeTempDir(QStringLiteral("program"));
    pictureDir = testsupport::makeTempDir(QStringLiteral("pictures"));
    ProgramInfo::OverrideLocation(programDir, QStringLiteral("tindra"));
    CurrentConfig() = ConfigClass();
  }

  void TearDown() override {
    if (window) window->hide();
    window.reset();
    CurrentConfig() = ConfigClass();
    ProgramInfo::OverrideLocation(QString(), QString());
  }

  // A shown main window of the given size (its start-up not run).
  wMain& shownWindow(int width = 900, int height = 600) {
    window = std::make_unique<wMain>();
    window->resize(width, height);
    window->show();
    QCoreApplication::processEvents();
    return *window;
  }

  // A picture with a shooting date (and optionally an EXIF modification date).
  QString picture(const QString& name, const QByteArray& created, const QByteArray& modified = QByteArray(),
                  int width = 64, int height = 48) {
    testsupport::ExifContent content;
    content.dateTimeOriginal = created;
    content.dateTime = modified;
    return testsupport::writeDisplayableJpeg(pictureDir, name, content, width, height);
  }

  // Row texts in list order (column 0).
  QStringList rowNames() const {
    QStringList names;
    for (size_t item : window->lvwFiles->allRows()) names.append(window->lvwFiles->text(item, FileListView::kName));
    return names;
  }

  // Closes the start-up splash with a click as soon as it shows.
  static void clickSplashWhenShown() {
    QTimer::singleShot(30, [] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* splash = qobject_cast<wSplash*>(widget); splash && splash->isVisible()) {
          QTest::mouseClick(splash, Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
          return;
        }
      }
      clickSplashWhenShown();
    });
  }

  // Messages shown with the critical icon (reported failures).
  QStringList reportedErrors() const {
    QStringList errors;
    for (const auto& message : ui.messages()) {
      if (message.icon == ui::Icon::Critical) errors.append(message.text);
    }
    return errors;
  }

  ui::ScriptedUiServices ui;
  QString programDir;
  QString pictureDir;
  std::unique_ptr<wMain> window;
};
