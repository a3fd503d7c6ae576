// List typedefs shared across the host classes. As in the host, the figure
// lists are dzfigure.h's and this header does not name DzFigure.
//
// What still differs from the host: only the lists the plug-in and the stand-in
// use are declared; the host's header names many more classes and lists.
#pragma once

#include <QtCore/QList>
#include <QtCore/QListIterator>
#include <QtCore/QPointer>

class DzBone;
class DzClassFactory;
class DzElement;
class DzMaterial;
class DzModifier;
class DzNode;
class DzProperty;
class DzPropertyGroup;
class DzShape;

typedef QList<DzNode*> DzNodeList;
typedef QListIterator<DzNode*> DzNodeListIterator;
typedef QList<DzBone*> DzBoneList;
typedef QListIterator<DzBone*> DzBoneListIterator;
typedef QList<DzMaterial*> DzMaterialList;
typedef QListIterator<DzMaterial*> DzMaterialListIterator;
typedef QList<DzShape*> DzShapeList;
typedef QListIterator<DzShape*> DzShapeListIterator;
typedef QList<DzProperty*> DzPropertyList;
typedef QListIterator<DzProperty*> DzPropertyListIterator;
typedef QList<DzPropertyGroup*> DzPropertyGroupList;
typedef QListIterator<DzPropertyGroup*> DzPropertyGroupListIterator;
typedef QList<DzElement*> DzElementList;
typedef QListIterator<DzElement*> DzElementListIterator;
typedef QListIterator<DzModifier*> DzModifierIterator;
typedef QList<DzClassFactory*> DzClassFactoryList;
typedef QListIterator<DzClassFactory*> DzClassFactoryListIterator;
