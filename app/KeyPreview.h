#pragma once
// Key preview for the forms: a form sees each key once, when it reaches the
// first widget of that form that receives it, before that widget handles it,
// and the key goes on to the widget unless the form uses it up. A form
// installs itself as an application event filter and asks here.
class QEvent;
class QKeyEvent;
class QObject;
class QWidget;

// The key press of `event` when `form` is to preview it at `watched`;
// nullptr for any other event, or for a key already previewed on its way.
QKeyEvent *previewedKeyPress(const QWidget *form, QObject *watched, QEvent *event);
