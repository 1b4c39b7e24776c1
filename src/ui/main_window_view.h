#pragma once

#include "app/application.h"
#include "forms/main_window.h"

#include <QMainWindow>

namespace d7o::ui {

// The main window REZEDEV7 as Qt widgets. It only shows the model and forwards what the
// user does into it; every decision is the core's. Destroy it before the Application.
class MainWindowView : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindowView(app::Application& app, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  QWidget* buildTerminalTab();
  QWidget* buildOptionsTab();
  QWidget* buildGpsTab();
  QWidget* buildAboutTab();

  app::Application& m_app;
  forms::MainWindow& m_model;
  bool m_shown = false;
};

}  // namespace d7o::ui
