#include "tr.h"
#include "control_table.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace morsk {

QWidget* CreateControl(const ControlSpec& spec, QWidget* parent)
{
    const QString caption = Tr(spec.caption);
    QWidget* w = nullptr;
    switch (spec.kind) {
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
        auto* button = new QPushButton(caption, parent);
        button->setDefault(spec.kind == ControlKind::DefaultButton);
        w = button;
        break;
    }
    case ControlKind::List:
        w = new QListWidget(parent);
        break;
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(caption, parent);
        w = edit;
        break;
    }
    case ControlKind::Label:
    case ControlKind::Picture:
        w = new QLabel(caption, parent);
        break;
    case ControlKind::Progress: {
        auto* bar = new QProgressBar(parent);
        bar->setRange(0, 100);
        bar->setValue(0);
        w = bar;
        break;
    }
    case ControlKind::CheckBox:
        w = new QCheckBox(caption, parent);
        break;
    case ControlKind::Radio:
        w = new QRadioButton(caption, parent);
        break;
    }
    w->setObjectName(ObjectNameFor(spec.id));
    w->setEnabled(spec.enabled);
    if (spec.toolTip && *spec.toolTip)
        w->setToolTip(Tr(spec.toolTip));
    const char* spoken = spec.accessible && *spec.accessible ? spec.accessible : spec.caption;
    // "自  动" is read as one word.
    w->setAccessibleName(Tr(spoken).remove(QLatin1Char(' ')));
    return w;
}

void CreateControls(std::span<const ControlSpec> table, QWidget* parent)
{
    for (const ControlSpec& spec : table)
        CreateControl(spec, parent);
}

}  // namespace morsk

namespace morsk {

void ShowText(QWidget* widget, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    widget->setAccessibleDescription(text);
}

}  // namespace morsk
