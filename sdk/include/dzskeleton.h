// DzSkeleton: a node that roots a hierarchy of bones. Abstract: only its
// subclasses (DzFigure) are created.
#pragma once

#include "dznode.h"

#include <QtCore/QPointer>

class DzBone;

class DZ_EXPORT DzSkeleton : public DzNode {
    Q_OBJECT
public:
    ~DzSkeleton() override;

    // Every bone below this skeleton, depth first in child order (bones below a
    // non-bone child are not included).
    void getAllBones(DzBoneList& bones) const;

public slots:
    // The first bone below this skeleton with this name, or NULL.
    DzBone* findBone(const QString& name) const;
    DzSkeleton* getFollowTarget() const { return m_followTarget; }
    virtual void setFollowTarget(DzSkeleton* target) { m_followTarget = target; }

protected:
    DzSkeleton();

private:
    QPointer<DzSkeleton> m_followTarget;
};
