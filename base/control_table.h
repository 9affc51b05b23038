// A dialog's controls as one table (id, kind, caption, enabled, tool tip),
// as a reviewer holds them against the dialog's description. Widgets are
// made from it in one place: object name ctl<id>, caption, accessible
// name, tool tip and enabled state.
#pragma once

#include <QString>
#include <QWidget>

#include <span>

namespace morsk {

enum class ControlKind { Button, DefaultButton, List, Edit, Label, Progress, CheckBox, Radio, Picture };

struct ControlSpec {
    int id;
    ControlKind kind;
    const char* caption;      // UTF-8; empty for none
    bool enabled;
    const char* toolTip;      // UTF-8; empty for none
    const char* accessible;   // UTF-8 name for screen readers when there is no caption
};

inline QString ObjectNameFor(int id)
{
    return QStringLiteral("ctl%1").arg(id);
}

// Creates the widget for one row, child of `parent`.
QWidget* CreateControl(const ControlSpec& spec, QWidget* parent);

// Creates every row; find them afterwards with Control<T>(parent, id).
void CreateControls(std::span<const ControlSpec> table, QWidget* parent);

// Shows `text` in a label or line edit and gives it to screen readers as
// the accessible description: the accessible name stays the short one
// ("器件", "文件"), the content is what they read out.
void ShowText(QWidget* widget, const QString& text);

template <typename T>
T* Control(const QWidget* parent, int id)
{
    return parent->findChild<T*>(ObjectNameFor(id));
}

}  // namespace morsk
