#pragma once
// The table chooser: lists the schema's tables or views and lets the person
// pick one. Created once at start, hidden between showings.
#include <QDialog>

class TfmTable : public QDialog {
    Q_OBJECT
public:
    explicit TfmTable(QWidget *parent = nullptr);
};
