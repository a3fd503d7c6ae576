// DzNode: an element of the scene's node tree with a transform made of
// properties, an optional object (geometry) and an optional selection map.
//
// Transform. All angle properties are degrees. With, at a time t:
//   T = (XTranslate, YTranslate, ZTranslate)
//   R = the rotation of XRotate, YRotate, ZRotate in the node's rotation order
//   O = the orientation (XOrientation, YOrientation, ZOrientation, applied in XYZ order)
//   S = diag(XScale, YScale, ZScale) * Scale (the general scale)
//   o = the origin (XOrigin, YOrigin, ZOrigin); p = the parent's origin, or 0
// the local transform (relative to the parent), in the row-vector convention of
// DzMatrix3, is
//   L = O^-1 * S * R * O * translation(o - p + T)
// so rotation and scale act about the origin, along the oriented axes, and a node
// at rest sits at its origin. The world-space transform is L * (the parent's
// world-space transform); for a node without parent it equals L. Passing
// defaultVal = true uses every property's default value instead of its value at t
// (the rest pose). The untimed getters use the scene's current time.
//
// Rest placement (stand-in only, getRestWSTransform): the world-space transform
// with every pose value (translation, rotation, scale, general scale) at its
// default and the pivot (origin, orientation) as it is now. Geometry is modelled
// at rest, in scene coordinates: a mesh's vertices sit where they are while every
// node is at its rest placement, and a node moves its geometry by
//   placement = getRestWSTransform()^-1 * getWSTransform()
// so a node's pivot is the point its geometry turns and scales about, and moving
// the pivot alone does not move the geometry. The pivot is taken as it is now
// rather than from its defaults, so that a pivot set without makeDefault does
// not deform anything.
//
// Ownership. The node owns its object and its selection map (setting a new one
// deletes the old). Children are not owned by their parent: the scene owns every
// node added to it (DzScene::addNode), and a node never added belongs to its
// creator. Deleting a node detaches it from its parent and its children.
//
// What still differs from the host: the node is not a scene asset, and its
// header does not pull in Qt's style headers (the host's does, so there QColor,
// QPixmap and the like come along). Drawing, selection, bounding boxes and the
// point-at and presentation members are left out. getRestWSTransform is the
// stand-in's own, as said above.
#pragma once

#include "dzelement.h"
#include "dzmatrix3.h"
#include "dzquat.h"
#include "dzrotationorder.h"
#include "dztypes.h"
#include "dzvec3.h"

#include <vector>

class DzBoolProperty;
class DzFloatProperty;
class DzObject;
class DzSelectionMap;
class DzSkeleton;

class DZ_EXPORT DzNode : public DzElement {
    Q_OBJECT
public:
    DzNode();
    ~DzNode() override;

    DzNodeListIterator nodeChildrenIterator() const;

    // Rotation (radians, as a quaternion), translation and scale parts of the
    // local transform: L = scale * rotation * translation(pos).
    void getLocalTransform(DzTime tm, DzVec3& pos, DzQuat& rot, DzMatrix3& scale,
                           bool defaults = false) const;

public slots:
    // Hierarchy.
    DzNode* getNodeParent() const { return m_parent; }
    int getNumNodeChildren() const { return int(m_children.size()); }
    // NULL when the index is out of range.
    DzNode* getNodeChild(int index) const;
    // Makes child the last child of this node. Fails with DZ_ILLEGAL_ARGUMENT_ERROR
    // for NULL, this node, or a child that still has a parent (it must first leave
    // it), and with DZ_ILLEGAL_HIERARCHY_ERROR when child is an ancestor of this
    // node. inPlace keeps the child's world-space transform by rewriting its local
    // position, rotation and scale. A child of a node in the scene joins the scene.
    DzError addNodeChild(DzNode* child, bool inPlace = false);
    // DZ_ILLEGAL_ARGUMENT_ERROR when child is not a child of this node.
    DzError removeNodeChild(DzNode* child, bool inPlace = false);
    bool isRootNode() const { return m_parent == nullptr; }

    DzObject* getObject() const { return m_object; }
    virtual void setObject(DzObject* obj);
    // The skeleton this node is (a DzSkeleton) or belongs to, searching up; NULL if none.
    DzSkeleton* getSkeleton() const;

    // Lets the object refresh for the node (see DzObject::update).
    virtual void update(bool isRender = false);
    // Finalises the object's geometry for the node: builds the object's cached,
    // world-space mesh at the scene's current time (see DzObject::finalize).
    virtual void finalize(bool isRender = false, bool allowResChange = true);

    DzMatrix3 getWSTransform() const;
    DzMatrix3 getWSTransform(DzTime tm, bool defaultVal = false) const;
    DzMatrix3 getLocalTransform() const;
    DzMatrix3 getLocalTransform(DzTime tm, bool defaultVal = false) const;

    // Stand-in only: the rest placement described above.
    DzMatrix3 getRestWSTransform() const;

    // Sets position, rotation and scale properties so that the local transform
    // becomes scale * rotation * translation(pos) (rotation and scale taken along
    // the oriented axes). The untimed forms set the current values, the timed forms
    // set the values at tm (adding keys). The scale's diagonal in the oriented
    // frame becomes X/Y/Z scale; generalScale goes to the general scale (1 when
    // not given).
    void setLocalTransform(const DzVec3& pos, const DzQuat& rot, const DzMatrix3& scale);
    void setLocalTransform(const DzVec3& pos, const DzQuat& rot, const DzMatrix3& scale,
                           float generalScale);
    void setLocalTransform(DzTime tm, const DzVec3& pos, const DzQuat& rot, const DzMatrix3& scale);
    void setLocalTransform(DzTime tm, const DzVec3& pos, const DzQuat& rot, const DzMatrix3& scale,
                           float generalScale);

    // Pivot data; makeDefault also stores the values as the properties' defaults.
    void setOrigin(const DzVec3& origin, bool makeDefault = false);
    void setEndPoint(const DzVec3& endPoint, bool makeDefault = false);
    void setOrientation(const DzQuat& orientation, bool makeDefault = false);
    virtual DzVec3 getOrigin(bool defaultVal = false) const;
    virtual DzVec3 getEndPoint(bool defaultVal = false) const;
    virtual DzQuat getOrientation(bool defaultVal = false) const;

    void setRotationOrder(DzRotationOrder order) { m_rotationOrder = order; }
    DzRotationOrder getRotationOrder() const { return m_rotationOrder; }

    // Takes ownership; the previous map is deleted.
    void setSelectionMap(DzSelectionMap* map);
    DzSelectionMap* getSelectionMap() const { return m_selectionMap; }

    // The transform and pivot properties; never NULL. All are float properties,
    // unlocked and not mappable; the rotations sit in the property group
    // "Transforms/Rotation", the translations in "Transforms/Translation", the
    // scales in "Transforms/Scale" and the pivot (hidden, not animatable) under
    // "Joints".
    DzFloatProperty* getXPosControl() const { return m_pos[0]; }
    DzFloatProperty* getYPosControl() const { return m_pos[1]; }
    DzFloatProperty* getZPosControl() const { return m_pos[2]; }
    DzFloatProperty* getXRotControl() const { return m_rot[0]; }
    DzFloatProperty* getYRotControl() const { return m_rot[1]; }
    DzFloatProperty* getZRotControl() const { return m_rot[2]; }
    DzFloatProperty* getScaleControl() const { return m_generalScale; }
    DzFloatProperty* getXScaleControl() const { return m_scale[0]; }
    DzFloatProperty* getYScaleControl() const { return m_scale[1]; }
    DzFloatProperty* getZScaleControl() const { return m_scale[2]; }
    DzFloatProperty* getOriginXControl() const { return m_origin[0]; }
    DzFloatProperty* getOriginYControl() const { return m_origin[1]; }
    DzFloatProperty* getOriginZControl() const { return m_origin[2]; }
    DzFloatProperty* getEndXControl() const { return m_end[0]; }
    DzFloatProperty* getEndYControl() const { return m_end[1]; }
    DzFloatProperty* getEndZControl() const { return m_end[2]; }
    DzFloatProperty* getOrientXControl() const { return m_orient[0]; }
    DzFloatProperty* getOrientYControl() const { return m_orient[1]; }
    DzFloatProperty* getOrientZControl() const { return m_orient[2]; }

    // "Visible" (group "Display", default true, not animatable): the node is
    // shown when it is true. Never NULL.
    DzBoolProperty* getVisibilityControl() const { return m_visible; }
    bool isVisible() const;
    void setVisible(bool onOff);

signals:
    void childAdded(DzNode* child);
    void childRemoved(DzNode* child);

private:
    friend class DzScene;
    void setLocalParts(bool timed, DzTime tm, const DzVec3& pos, const DzQuat& rot,
                       const DzMatrix3& scale, float generalScale);
    DzQuat orientationAt(bool defaults) const;
    // The local transform's parts with the pose values (translation, rotation,
    // scale) and the pivot (origin, orientation) each either at tm or at their
    // defaults.
    void localParts(DzTime tm, bool poseDefaults, bool pivotDefaults, DzVec3& pos, DzQuat& rot,
                    DzMatrix3& scale) const;
    DzMatrix3 localMatrix(DzTime tm, bool poseDefaults, bool pivotDefaults) const;
    DzMatrix3 worldMatrix(DzTime tm, bool poseDefaults, bool pivotDefaults) const;

    DzNode* m_parent = nullptr;
    std::vector<DzNode*> m_children;
    DzObject* m_object = nullptr;
    DzSelectionMap* m_selectionMap = nullptr;
    DzRotationOrder m_rotationOrder;

    DzFloatProperty* m_pos[3];
    DzFloatProperty* m_rot[3];
    DzFloatProperty* m_scale[3];
    DzFloatProperty* m_generalScale;
    DzFloatProperty* m_origin[3];
    DzFloatProperty* m_end[3];
    DzFloatProperty* m_orient[3];
    DzBoolProperty* m_visible;
};
