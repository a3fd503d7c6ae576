#include "dznode.h"

#include "dzboolproperty.h"
#include "dzfloatproperty.h"
#include "dzhostclock.h"
#include "dzobject.h"
#include "dzscene.h"
#include "dzselectionmap.h"
#include "dzskeleton.h"

#include <algorithm>
#include <cmath>

namespace {

const float kDegPerRad = 57.29577951308232f;
const float kRadPerDeg = 0.017453292519943295f;

DzFloatProperty* makeFloat(DzNode* node, const char* name, const char* label, const char* path,
                           bool canAnimate, float init, bool hidden) {
    auto* p = new DzFloatProperty(QString::fromLatin1(name), canAnimate, false, init);
    p->setLabel(QString::fromLatin1(label));
    p->setPath(QString::fromLatin1(path));
    p->setHidden(hidden);
    node->addProperty(p);
    return p;
}

float read(const DzFloatProperty* p, DzTime tm, bool defaults) {
    return float(defaults ? p->getDefaultValue() : p->getValue(tm));
}

DzVec3 readVec(DzFloatProperty* const props[3], DzTime tm, bool defaults) {
    return DzVec3(read(props[0], tm, defaults), read(props[1], tm, defaults),
                  read(props[2], tm, defaults));
}

void writeVec(DzFloatProperty* const props[3], const DzVec3& v, bool timed, DzTime tm) {
    for (int i = 0; i < 3; ++i) {
        if (timed) {
            props[i]->setValue(tm, v[i]);
        } else {
            props[i]->setValue(v[i]);
        }
    }
}

DzTime sceneTime() {
    return dzScene ? dzScene->getTime() : 0;
}

// Splits an affine matrix into translation, rotation and the scale matrix with
// m3 = scale * rotation.
void splitAffine(const DzMatrix3& m, DzVec3& pos, DzQuat& rot, DzMatrix3& scale) {
    pos = m.row(3);
    rot = DzQuat(m);
    DzMatrix3 linear = m;
    linear.noTrans();
    scale = linear * DzMatrix3(rot).inverse();
}

} // namespace

DzNode::DzNode() : DzElement() {
    static const char* const axes[3] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        const QByteArray a(axes[i]);
        m_pos[i] = makeFloat(this, a + "Translate", a + " Translate", "Transforms/Translation",
                             true, 0.0f, false);
    }
    for (int i = 0; i < 3; ++i) {
        const QByteArray a(axes[i]);
        m_rot[i] =
            makeFloat(this, a + "Rotate", a + " Rotate", "Transforms/Rotation", true, 0.0f, false);
    }
    m_generalScale = makeFloat(this, "Scale", "Scale", "Transforms/Scale", true, 1.0f, false);
    for (int i = 0; i < 3; ++i) {
        const QByteArray a(axes[i]);
        m_scale[i] =
            makeFloat(this, a + "Scale", a + " Scale", "Transforms/Scale", true, 1.0f, false);
    }
    for (int i = 0; i < 3; ++i) {
        const QByteArray a(axes[i]);
        m_origin[i] =
            makeFloat(this, a + "Origin", a + " Origin", "Joints/Center Point", false, 0.0f, true);
        m_end[i] = makeFloat(this, a + "EndPoint", a + " End Point", "Joints/End Point", false,
                             0.0f, true);
        m_orient[i] = makeFloat(this, a + "Orientation", a + " Orientation", "Joints/Orientation",
                                false, 0.0f, true);
    }
    m_visible = new DzBoolProperty(QStringLiteral("Visible"), false, false, true);
    m_visible->setPath(QStringLiteral("Display"));
    addProperty(m_visible);
}

DzNode::~DzNode() {
    if (m_parent) {
        // Searched from the back: a scene deletes its nodes newest first.
        auto& siblings = m_parent->m_children;
        auto it = std::find(siblings.rbegin(), siblings.rend(), this);
        if (it != siblings.rend()) {
            siblings.erase(std::next(it).base());
        }
        m_parent = nullptr;
    }
    for (DzNode* child : m_children) {
        child->m_parent = nullptr;
    }
    m_children.clear();
    delete m_selectionMap;
    delete m_object;
}

DzNodeListIterator DzNode::nodeChildrenIterator() const {
    DzNodeList list;
    for (DzNode* c : m_children) {
        list.append(c);
    }
    return DzNodeListIterator(list);
}

DzNode* DzNode::getNodeChild(int index) const {
    if (index < 0 || index >= int(m_children.size())) {
        return nullptr;
    }
    return m_children[size_t(index)];
}

DzError DzNode::addNodeChild(DzNode* child, bool inPlace) {
    if (!child || child == this || child->m_parent) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    // Only a node with children can be an ancestor of this one; a new leaf (a
    // bone being added under its parent) skips the walk up, so building a chain
    // of n bones stays linear in n.
    if (!child->m_children.empty()) {
        for (const DzNode* up = this; up; up = up->m_parent) {
            if (up == child) {
                return DZ_ILLEGAL_HIERARCHY_ERROR;
            }
        }
    }
    const DzMatrix3 world = child->getWSTransform();
    child->m_parent = this;
    m_children.push_back(child);
    if (inPlace) {
        DzVec3 pos;
        DzQuat rot;
        DzMatrix3 scale;
        splitAffine(world * getWSTransform().inverse(), pos, rot, scale);
        child->setLocalParts(false, 0, pos, rot, scale, 1.0f);
    }
    if (dzScene && dzScene->findNodeIndex(this) >= 0 && dzScene->findNodeIndex(child) < 0) {
        dzScene->addNode(child);
    }
    emit childAdded(child);
    return DZ_NO_ERROR;
}

DzError DzNode::removeNodeChild(DzNode* child, bool inPlace) {
    auto it = std::find(m_children.begin(), m_children.end(), child);
    if (!child || it == m_children.end()) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    const DzMatrix3 world = child->getWSTransform();
    m_children.erase(it);
    child->m_parent = nullptr;
    if (inPlace) {
        DzVec3 pos;
        DzQuat rot;
        DzMatrix3 scale;
        splitAffine(world, pos, rot, scale);
        child->setLocalParts(false, 0, pos, rot, scale, 1.0f);
    }
    emit childRemoved(child);
    return DZ_NO_ERROR;
}

void DzNode::setObject(DzObject* obj) {
    if (obj == m_object) {
        return;
    }
    delete m_object;
    m_object = obj;
    if (obj) {
        obj->setParent(this);
    }
}

DzSkeleton* DzNode::getSkeleton() const {
    for (const DzNode* n = this; n; n = n->m_parent) {
        if (auto* skel = qobject_cast<DzSkeleton*>(const_cast<DzNode*>(n))) {
            return skel;
        }
    }
    return nullptr;
}

void DzNode::update(bool isRender) {
    if (m_object) {
        m_object->update(*this, isRender);
    }
}

void DzNode::finalize(bool isRender, bool allowResChange) {
    const DzHostClock::Scope timed;
    if (m_object) {
        m_object->finalize(*this, isRender, allowResChange);
    }
}

DzQuat DzNode::orientationAt(bool defaults) const {
    const DzVec3 deg = readVec(m_orient, 0, defaults);
    return DzQuat(DzRotationOrder(DzRotationOrder::XYZ), deg * kRadPerDeg);
}

void DzNode::localParts(DzTime tm, bool poseDefaults, bool pivotDefaults, DzVec3& pos, DzQuat& rot,
                        DzMatrix3& scale) const {
    const DzQuat orient = orientationAt(pivotDefaults);
    const DzQuat euler(m_rotationOrder, readVec(m_rot, tm, poseDefaults) * kRadPerDeg);
    const float g = read(m_generalScale, tm, poseDefaults);
    const DzVec3 s = readVec(m_scale, tm, poseDefaults) * g;
    const DzMatrix3 o(orient);
    scale = o.inverse() * DzMatrix3::scaling(s) * o;
    rot = orient.inverse() * euler * orient;
    const DzVec3 parentOrigin =
        m_parent ? m_parent->getOrigin(pivotDefaults) : DzVec3(0.0f, 0.0f, 0.0f);
    pos = getOrigin(pivotDefaults) - parentOrigin + readVec(m_pos, tm, poseDefaults);
}

DzMatrix3 DzNode::localMatrix(DzTime tm, bool poseDefaults, bool pivotDefaults) const {
    DzVec3 pos;
    DzQuat rot;
    DzMatrix3 scale;
    localParts(tm, poseDefaults, pivotDefaults, pos, rot, scale);
    DzMatrix3 m = scale * DzMatrix3(rot);
    m.setTrans(pos);
    return m;
}

DzMatrix3 DzNode::worldMatrix(DzTime tm, bool poseDefaults, bool pivotDefaults) const {
    // Iterative so that a deep chain of bones costs no recursion.
    DzMatrix3 m = localMatrix(tm, poseDefaults, pivotDefaults);
    for (const DzNode* up = m_parent; up; up = up->m_parent) {
        m = m * up->localMatrix(tm, poseDefaults, pivotDefaults);
    }
    return m;
}

void DzNode::getLocalTransform(DzTime tm, DzVec3& pos, DzQuat& rot, DzMatrix3& scale,
                               bool defaults) const {
    const DzHostClock::Scope timed;
    localParts(tm, defaults, defaults, pos, rot, scale);
}

DzMatrix3 DzNode::getLocalTransform(DzTime tm, bool defaultVal) const {
    const DzHostClock::Scope timed;
    return localMatrix(tm, defaultVal, defaultVal);
}

DzMatrix3 DzNode::getLocalTransform() const {
    return getLocalTransform(sceneTime(), false);
}

DzMatrix3 DzNode::getWSTransform(DzTime tm, bool defaultVal) const {
    const DzHostClock::Scope timed;
    return worldMatrix(tm, defaultVal, defaultVal);
}

DzMatrix3 DzNode::getWSTransform() const {
    return getWSTransform(sceneTime(), false);
}

DzMatrix3 DzNode::getRestWSTransform() const {
    return worldMatrix(0, true, false);
}

void DzNode::setLocalParts(bool timed, DzTime tm, const DzVec3& pos, const DzQuat& rot,
                           const DzMatrix3& scale, float generalScale) {
    const DzQuat orient = orientationAt(false);
    const DzMatrix3 o(orient);
    const DzVec3 parentOrigin = m_parent ? m_parent->getOrigin() : DzVec3(0.0f, 0.0f, 0.0f);
    writeVec(m_pos, pos - (getOrigin() - parentOrigin), timed, tm);

    DzVec3 angles;
    (orient * rot * orient.inverse()).getValue(m_rotationOrder, angles);
    writeVec(m_rot, angles * kDegPerRad, timed, tm);

    const DzMatrix3 s = o * scale * o.inverse();
    const float g = generalScale != 0.0f ? generalScale : 1.0f;
    writeVec(m_scale, DzVec3(s[0][0] / g, s[1][1] / g, s[2][2] / g), timed, tm);
    if (timed) {
        m_generalScale->setValue(tm, g);
    } else {
        m_generalScale->setValue(g);
    }
}

void DzNode::setLocalTransform(const DzVec3& pos, const DzQuat& rot, const DzMatrix3& scale) {
    setLocalParts(false, 0, pos, rot, scale, 1.0f);
}

void DzNode::setLocalTransform(const DzVec3& pos, const DzQuat& rot, const DzMatrix3& scale,
                               float generalScale) {
    setLocalParts(false, 0, pos, rot, scale, generalScale);
}

void DzNode::setLocalTransform(DzTime tm, const DzVec3& pos, const DzQuat& rot,
                               const DzMatrix3& scale) {
    setLocalParts(true, tm, pos, rot, scale, 1.0f);
}

void DzNode::setLocalTransform(DzTime tm, const DzVec3& pos, const DzQuat& rot,
                               const DzMatrix3& scale, float generalScale) {
    setLocalParts(true, tm, pos, rot, scale, generalScale);
}

namespace {

void setPivot(DzFloatProperty* const props[3], const DzVec3& v, bool makeDefault) {
    for (int i = 0; i < 3; ++i) {
        props[i]->setValue(v[i]);
        if (makeDefault) {
            props[i]->setDefaultValue(v[i]);
        }
    }
}

} // namespace

void DzNode::setOrigin(const DzVec3& origin, bool makeDefault) {
    setPivot(m_origin, origin, makeDefault);
}

void DzNode::setEndPoint(const DzVec3& endPoint, bool makeDefault) {
    setPivot(m_end, endPoint, makeDefault);
}

void DzNode::setOrientation(const DzQuat& orientation, bool makeDefault) {
    DzVec3 angles;
    orientation.getValue(DzRotationOrder(DzRotationOrder::XYZ), angles);
    setPivot(m_orient, angles * kDegPerRad, makeDefault);
}

DzVec3 DzNode::getOrigin(bool defaultVal) const {
    return readVec(m_origin, 0, defaultVal);
}

DzVec3 DzNode::getEndPoint(bool defaultVal) const {
    return readVec(m_end, 0, defaultVal);
}

DzQuat DzNode::getOrientation(bool defaultVal) const {
    return orientationAt(defaultVal);
}

void DzNode::setSelectionMap(DzSelectionMap* map) {
    if (map == m_selectionMap) {
        return;
    }
    delete m_selectionMap;
    m_selectionMap = map;
}

bool DzNode::isVisible() const {
    return m_visible->getBoolValue();
}

void DzNode::setVisible(bool onOff) {
    m_visible->setBoolValue(onOff);
}
