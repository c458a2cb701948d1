#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

// Small helpers of the windows' forms.
namespace form {

// The widget, given the name a screen reader says.
template <class W>
W* named(W* widget, const QString& name) {
    widget->setAccessibleName(name);
    return widget;
}

// A label for a field, which Alt and its underlined letter (or a click) move to the field.
inline QLabel* caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace form
