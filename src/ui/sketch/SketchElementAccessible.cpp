#include "ui/sketch/SketchElementAccessible.h"

#include "ui/sketch/DraftDlg.h"
#include "ui/sketch/SketchAccessible.h"

#include <QWidget>
#include <QWindow>

SketchElementAccessible::SketchElementAccessible(DraftDlg* sketch, SketchElementRef ref)
    : sketch_(sketch), ref_(ref) {}

SketchAccessible* SketchElementAccessible::owner() const {
    if (!sketch_)
        return nullptr;
    return dynamic_cast<SketchAccessible*>(QAccessible::queryAccessibleInterface(sketch_.data()));
}

int SketchElementAccessible::find(std::vector<SketchElement>& list) const {
    SketchAccessible* o = owner();
    if (!o)
        return -1;
    list = o->elements();
    return findElement(list, ref_);
}

bool SketchElementAccessible::isValid() const {
    std::vector<SketchElement> list;
    return find(list) >= 0;
}

QObject* SketchElementAccessible::object() const {
    return nullptr;
}

QWindow* SketchElementAccessible::window() const {
    return sketch_ ? sketch_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* SketchElementAccessible::parent() const {
    SketchAccessible* o = owner();
    if (!o)
        return nullptr;
    if (ref_.kind == SketchElementKind::Door)
        return o;
    return o->interfaceFor({SketchElementKind::Door, ref_.door, 0});
}

int SketchElementAccessible::childCount() const {
    std::vector<SketchElement> list;
    const int k = find(list);
    return k < 0 ? 0 : static_cast<int>(SketchAccessible::childrenOf(list, k).size());
}

QAccessibleInterface* SketchElementAccessible::child(int index) const {
    std::vector<SketchElement> list;
    const int k = find(list);
    if (k < 0)
        return nullptr;
    const std::vector<int> children = SketchAccessible::childrenOf(list, k);
    if (index < 0 || index >= static_cast<int>(children.size()))
        return nullptr;
    return owner()->interfaceFor(
        list[static_cast<size_t>(children[static_cast<size_t>(index)])].ref);
}

int SketchElementAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* element = dynamic_cast<const SketchElementAccessible*>(child);
    std::vector<SketchElement> list;
    const int k = find(list);
    if (!element || k < 0)
        return -1;
    const std::vector<int> children = SketchAccessible::childrenOf(list, k);
    for (size_t i = 0; i < children.size(); ++i)
        if (list[static_cast<size_t>(children[i])].ref == element->ref())
            return static_cast<int>(i);
    return -1;
}

QAccessibleInterface* SketchElementAccessible::childAt(int x, int y) const {
    std::vector<SketchElement> list;
    const int k = find(list);
    if (k < 0)
        return nullptr;
    for (int c : SketchAccessible::childrenOf(list, k))
        if (owner()->toScreen(list[static_cast<size_t>(c)].rect).contains(x, y))
            return owner()->interfaceFor(list[static_cast<size_t>(c)].ref);
    return nullptr;
}

QString SketchElementAccessible::text(QAccessible::Text t) const {
    std::vector<SketchElement> list;
    const int k = find(list);
    if (k < 0)
        return {};
    const SketchElement& e = list[static_cast<size_t>(k)];
    switch (t) {
    case QAccessible::Name:
        return QString::fromStdString(e.name);
    case QAccessible::Description:
        if (e.target)
            return QStringLiteral("Выбрана для материала");
        return {};
    default:
        return {};
    }
}

void SketchElementAccessible::setText(QAccessible::Text, const QString&) {}

QRect SketchElementAccessible::rect() const {
    std::vector<SketchElement> list;
    const int k = find(list);
    if (k < 0)
        return {};
    return owner()->toScreen(list[static_cast<size_t>(k)].rect);
}

QAccessible::Role SketchElementAccessible::role() const {
    return ref_.kind == SketchElementKind::Door ? QAccessible::Grouping : QAccessible::Graphic;
}

QAccessible::State SketchElementAccessible::state() const {
    QAccessible::State s;
    std::vector<SketchElement> list;
    const int k = find(list);
    if (k < 0) {
        s.invalid = true;
        return s;
    }
    const SketchElement& e = list[static_cast<size_t>(k)];
    s.focusable = true;
    s.focused = owner()->focusedElement() == ref_;
    s.hotTracked = e.hovered;
    s.invisible = !sketch_->isVisible() || e.rect.isEmpty();
    s.disabled = !sketch_->isEnabled();
    if (ref_.kind == SketchElementKind::Insert) {
        s.selectable = true;
        s.selected = e.target;
    }
    return s;
}
