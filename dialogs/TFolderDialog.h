#pragma once
// A folder chooser component: shows the platform's folder browser, owned by
// the window that holds the component, and hands back the folder picked.
//
//   TFolderDialog dlgFolderSel(window);
//   dlgFolderSel.setFolder(current);        // selected first when it exists
//   if (dlgFolderSel.Execute())
//       use(dlgFolderSel.Folder());
#include <QObject>
#include <QString>

class QWidget;

class TFolderDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool CanNetwork READ CanNetwork WRITE setCanNetwork)
    Q_PROPERTY(QString Message READ Message WRITE setMessage)
    Q_PROPERTY(QString Folder READ Folder WRITE setFolder)
public:
    explicit TFolderDialog(QWidget *owner);

    // Whether the browser may go below the network's domain level. A Linux
    // file system has no such level (shares are mounted folders), so the
    // browser offers the same folders either way.
    bool CanNetwork() const { return m_canNetwork; }
    void setCanNetwork(bool canNetwork) { m_canNetwork = canNetwork; }
    // The line shown above the folders.
    QString Message() const { return m_message; }
    void setMessage(const QString &message) { m_message = message; }
    // In: the folder to select when the browser opens. Out: the folder picked,
    // without a final "/" unless it is the root.
    QString Folder() const { return m_folder; }
    void setFolder(const QString &folder) { m_folder = folder; }

    // True when a folder was picked (Folder then holds it); false when the
    // person cancelled, and Folder keeps its value.
    bool Execute();

private:
    bool m_canNetwork = false;
    QString m_message;
    QString m_folder;
};
