#include "dzfigure.h"

#include "dzobject.h"
#include "dzskinbinding.h"

DzFigure::DzFigure() : m_skin(new DzSkinBinding(this)) {
    m_skin->setParent(this);
}

DzFigure::~DzFigure() {
    // Take the skin out of the object before DzNode deletes the object.
    if (DzObject* obj = getObject()) {
        obj->removeModifier(m_skin);
    }
}

DzWeakFigureListIterator DzFigure::graftFigureIterator() const {
    return DzWeakFigureListIterator(getGraftFigureList());
}

DzWeakFigureList DzFigure::getGraftFigureList() const {
    m_grafts.removeAll(QPointer<DzFigure>());
    return m_grafts;
}

bool DzFigure::acceptGraftFigure(const DzFigure* figure) const {
    return figure && figure != this;
}

bool DzFigure::graftTo(DzFigure* target) {
    if (!target || !target->acceptGraftFigure(this) ||
        target->getGraftFigureList().contains(QPointer<DzFigure>(this))) {
        return false;
    }
    target->m_grafts.append(QPointer<DzFigure>(this));
    setFollowTarget(target);
    m_graftFollowing = true;
    return true;
}

int DzFigure::getNumGraftFigures() const {
    return getGraftFigureList().size();
}

DzFigure* DzFigure::getGraftFigure(int index) const {
    const DzWeakFigureList list = getGraftFigureList();
    return index >= 0 && index < list.size() ? list.at(index).data() : nullptr;
}

void DzFigure::setObject(DzObject* obj) {
    DzObject* old = getObject();
    if (old == obj) {
        return;
    }
    if (old) {
        old->removeModifier(m_skin);
    }
    DzSkeleton::setObject(obj);
    if (obj && obj->findModifierIndex(m_skin) < 0) {
        obj->addModifier(m_skin, 0);
    }
}
