#pragma once
// The load and save dialogs of list files and the folder they share. The
// folder of the last file chosen in either dialog is where both open next,
// in this run and, through the per-user store, in the next.
#include "platform/FileDialog.h"

#include <QString>
#include <optional>

class QWidget;

class ListFileDialogs {
public:
    // The value of the per-user store that keeps the shared folder.
    static constexpr const char *kFolderValue = "ListFolder";

    ListFileDialogs();
    ListFileDialogs(const ListFileDialogs &) = delete;
    ListFileDialogs &operator=(const ListFileDialogs &) = delete;

    platform::FileDialogRequest dlgOpen;
    platform::FileDialogRequest dlgSave;

    // Both dialogs start in the stored folder; in none (the platform's
    // choice) when the value is missing or unreadable.
    void ReadListFolder();
    // Stores the shared folder; a failure to store it is not worth a word.
    void WriteListFolder() const;

    // Runs when a file name is confirmed in either dialog, before the file is
    // opened, so the folder is remembered even when the file then cannot be
    // read or written. Never refuses the name.
    bool rememberFolderOf(const QString &path);

    // Shows a dialog; the chosen path, or nothing when cancelled. A dialog
    // proposes the name chosen last in it.
    std::optional<QString> executeOpen(QWidget *owner);
    std::optional<QString> executeSave(QWidget *owner);

private:
    void setFolder(const QString &folder);
};
