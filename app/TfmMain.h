#pragma once
#include <QMainWindow>

// The main window. For now only its frame: title and minimum size.
class TfmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfmMain(QWidget *parent = nullptr);
};
