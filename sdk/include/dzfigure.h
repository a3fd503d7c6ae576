// DzFigure: a skeleton with a skinned object. The figure creates and owns its skin
// binding (getSkinBinding is never NULL); when the figure is given an object the
// skin binding becomes that object's first modifier.
// Grafts: a figure grafted onto this one (graftTo) appears in its graft list;
// grafts that have been deleted drop out of the list.
#pragma once

#include "dzskeleton.h"
#include "dztypes.h"

class DzSkinBinding;
class DzFigure;

typedef QList<QPointer<DzFigure>> DzWeakFigureList;
typedef QListIterator<QPointer<DzFigure>> DzWeakFigureListIterator;

class DZ_EXPORT DzFigure : public DzSkeleton {
    Q_OBJECT
public:
    DzFigure();
    ~DzFigure() override;

    DzWeakFigureListIterator graftFigureIterator() const;
    DzWeakFigureList getGraftFigureList() const;
    bool acceptGraftFigure(const DzFigure* figure) const;

    // Stand-in only (the real host derives grafts from the geometry): makes this
    // figure a graft that follows target. False, and no change, when target is
    // NULL, this figure, or already has this graft.
    bool graftTo(DzFigure* target);

public slots:
    DzSkinBinding* getSkinBinding() const { return m_skin; }
    int getNumGraftFigures() const;
    DzFigure* getGraftFigure(int index) const;
    // True when this figure follows its target as a graft.
    bool isGraftFollowing() const { return m_graftFollowing; }
    void setObject(DzObject* obj) override;

private:
    DzSkinBinding* m_skin;
    mutable DzWeakFigureList m_grafts;
    bool m_graftFollowing = false;
};
