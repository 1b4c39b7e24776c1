#pragma once

#include "app/application.h"
#include "forms/main_window.h"

#include <utility>
#include <vector>

#include <QMainWindow>
#include <QTabWidget>

namespace d7o::ui {

// The main window REZEDEV7 as Qt widgets. It only shows the model and forwards what the
// user does into it; every decision is the core's. Destroy it before the Application.
class MainWindowView : public QMainWindow {
  Q_OBJECT

 public:
  // Form_Activate runs once the window first shows (its baud-rate search waits up to half
  // a minute), or whenever the caller decides, for one that must not wait for it.
  enum class Activation { OnFirstShow, ByCaller };

  explicit MainWindowView(app::Application& app, Activation activation = Activation::OnFirstShow,
                          QWidget* parent = nullptr);
  ~MainWindowView() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  // The capture bar: the recording's file, the replay's position and controls.
  void buildCaptureBar();
  // Every tab shows whole at the start where the screen has room for it.
  void fitEveryTab(QTabWidget& tabWidget);
  // The program hides the main window while the GPS analyzer is shown.
  void followVisibility();

  app::Application& m_app;
  forms::MainWindow& m_model;
  Activation m_activation;
  bool m_shown = false;
  forms::Signal<>::Connection m_visibility = 0;
  std::vector<std::pair<forms::Control*, forms::Signal<>::Connection>> m_captureBarParts;
};

}  // namespace d7o::ui
