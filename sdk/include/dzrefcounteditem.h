// DzRefCountedItem: an intrusive reference count for items several owners share
// (materials, weight maps, UV maps). An item starts with no reference; each owner
// calls ref() when it takes the item and deref() when it lets go, and the last
// deref() deletes it. An item nobody ever referenced belongs to its creator.
#pragma once

#include "dzgeneraldefs.h"

class DZ_EXPORT DzRefCountedItem {
public:
    DzRefCountedItem() = default;
    DzRefCountedItem(const DzRefCountedItem&) = delete;
    DzRefCountedItem& operator=(const DzRefCountedItem&) = delete;
    virtual ~DzRefCountedItem();

    void ref() { ++m_refCount; }
    // Drops one reference; deletes the item when none is left.
    void deref();
    int getRefCount() const { return m_refCount; }

private:
    int m_refCount = 0;
};
