#include "dzrefcounteditem.h"

DzRefCountedItem::~DzRefCountedItem() = default;

void DzRefCountedItem::deref() {
    if (m_refCount > 0 && --m_refCount == 0) {
        delete this;
    }
}
