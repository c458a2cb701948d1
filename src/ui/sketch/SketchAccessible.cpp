#include "ui/sketch/SketchAccessible.h"

#include "model/Project.h"
#include "ui/sketch/DraftDlg.h"
#include "ui/sketch/SketchElementAccessible.h"

#include <QHash>

namespace {

// The interfaces that exist, by sketch, so that a change can reach them without making one.
QHash<const DraftDlg*, SketchAccessible*>& live() {
    static QHash<const DraftDlg*, SketchAccessible*> map;
    return map;
}

QAccessibleInterface* makeInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("DraftDlg"))
        if (auto* sketch = qobject_cast<DraftDlg*>(object))
            return new SketchAccessible(sketch);
    return nullptr;
}

} // namespace

SketchAccessible::SketchAccessible(DraftDlg* sketch)
    : QAccessibleWidget(sketch, QAccessible::Canvas) {
    live().insert(sketch, this);
}

SketchAccessible::~SketchAccessible() {
    live().remove(live().key(this));
    for (const auto& [key, id] : ids_)
        QAccessible::deleteAccessibleInterface(id);
}

void SketchAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    (void)installed;
}

void SketchAccessible::projectChanged(DraftDlg* sketch) {
    SketchAccessible* iface = live().value(sketch);
    if (!iface)
        return;
    iface->dropStale();
    QAccessibleEvent event(iface, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&event);
}

void SketchAccessible::focusMoved(DraftDlg* sketch) {
    SketchAccessible* iface = live().value(sketch);
    if (!iface)
        return;
    const SketchElementRef ref = iface->focusedElement();
    if (!ref.valid())
        return;
    QAccessibleEvent event(iface->interfaceFor(ref), QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

DraftDlg* SketchAccessible::sketch() const {
    return static_cast<DraftDlg*>(widget());
}

QAccessible::Role SketchAccessible::role() const {
    return QAccessible::Canvas;
}

QString SketchAccessible::text(QAccessible::Text t) const {
    QString s = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && s.isEmpty())
        s = QStringLiteral("Эскиз");
    return s;
}

std::vector<SketchElement> SketchAccessible::elements() const {
    return sketchElements(*sketch()->project().doors);
}

std::vector<int> SketchAccessible::childrenOf(const std::vector<SketchElement>& list, int parent) {
    std::vector<int> children;
    for (size_t k = 0; k < list.size(); ++k)
        if (list[k].parent == parent)
            children.push_back(static_cast<int>(k));
    return children;
}

SketchAccessible::Key SketchAccessible::keyOf(const SketchElementRef& ref) {
    return {static_cast<int>(ref.kind), ref.door, ref.id};
}

QAccessibleInterface* SketchAccessible::interfaceFor(const SketchElementRef& ref) const {
    const Key key = keyOf(ref);
    if (auto it = ids_.find(key); it != ids_.end())
        if (QAccessibleInterface* iface = QAccessible::accessibleInterface(it->second))
            return iface;
    auto* iface = new SketchElementAccessible(sketch(), ref);
    ids_[key] = QAccessible::registerAccessibleInterface(iface);
    return iface;
}

void SketchAccessible::dropStale() {
    const std::vector<SketchElement> list = elements();
    for (auto it = ids_.begin(); it != ids_.end();) {
        const auto [kind, door, id] = it->first;
        const SketchElementRef ref{static_cast<SketchElementKind>(kind), door, id};
        if (findElement(list, ref) >= 0) {
            ++it;
            continue;
        }
        QAccessible::deleteAccessibleInterface(it->second);
        it = ids_.erase(it);
    }
}

int SketchAccessible::childCount() const {
    return static_cast<int>(childrenOf(elements(), -1).size());
}

QAccessibleInterface* SketchAccessible::child(int index) const {
    const std::vector<SketchElement> list = elements();
    const std::vector<int> doors = childrenOf(list, -1);
    if (index < 0 || index >= static_cast<int>(doors.size()))
        return nullptr;
    return interfaceFor(list[static_cast<size_t>(doors[static_cast<size_t>(index)])].ref);
}

int SketchAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* element = dynamic_cast<const SketchElementAccessible*>(child);
    if (!element)
        return -1;
    const std::vector<SketchElement> list = elements();
    const std::vector<int> doors = childrenOf(list, -1);
    for (size_t k = 0; k < doors.size(); ++k)
        if (list[static_cast<size_t>(doors[k])].ref == element->ref())
            return static_cast<int>(k);
    return -1;
}

QAccessibleInterface* SketchAccessible::childAt(int x, int y) const {
    for (const SketchElement& e : elements())
        if (e.parent < 0 && toScreen(e.rect).contains(x, y))
            return interfaceFor(e.ref);
    return nullptr;
}

QAccessibleInterface* SketchAccessible::focusChild() const {
    const SketchElementRef ref = focusedElement();
    return ref.valid() ? interfaceFor(ref) : nullptr;
}

SketchElementRef SketchAccessible::focusedElement() const {
    const std::vector<SketchElement> list = elements();
    const SketchElementRef current = sketch()->keyboardElement();
    if (current.valid() && findElement(list, current) >= 0)
        return current;
    // The mouse: an insert or splitter under it, else the door whose frame it is over.
    SketchElementRef door;
    for (const SketchElement& e : list) {
        if (!e.hovered)
            continue;
        if (e.ref.kind != SketchElementKind::Door)
            return e.ref;
        door = e.ref;
    }
    return door;
}

QRect SketchAccessible::toScreen(const ScreenRect& r) const {
    if (r.isEmpty())
        return {};
    return {sketch()->mapToGlobal(QPoint(r.left, r.top)), QSize(r.width(), r.height())};
}
