#pragma once
// The cursor component: one cursor area on the session it is bound to.
// Bound through OCIParent to a session of the same owner; the session closes
// it (CleanUP) before it logs off.
#include "oracle/oci7.h"

#include <QObject>
#include <QPointer>
#include <QString>

class TOCIctrl;

class TOCIcur : public QObject {
    Q_OBJECT
public:
    // `owner` owns the cursor (and is the QObject parent).
    explicit TOCIcur(QObject *owner);
    ~TOCIcur() override;

    // The session the cursor is bound to, or null. Binding succeeds only for a
    // TOCIctrl of the same owner; anything else leaves the cursor unbound.
    QObject *OCIParent();
    void setOCIParent(QObject *component);

    // Closes the cursor area if it is open and forgets the last statement.
    bool CleanUP();

    bool isOpened() const { return m_opened; }

    QString LastError; // text of the last failure of this cursor

private:
    TOCIctrl *session();

    QPointer<QObject> m_ociParent;
    bool m_opened = false;
    cda_def m_cda{};
};
