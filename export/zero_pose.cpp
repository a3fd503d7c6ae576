#include "export/zero_pose.h"

#include "compat/qt_compat.h"

#include <QtCore/QString>

#include <dzfloatproperty.h>
#include <dznode.h>
#include <dzpropertygroup.h>

namespace yfx {
namespace exporter {

namespace {

// Index of the key at exactly `time`, or -1. Keys are kept in time order.
int keyIndexAt(const DzFloatProperty& property, DzTime time) {
    int low = 0;
    int high = property.getNumKeys() - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const DzTime keyTime = property.getKeyTime(middle);
        if (keyTime == time) {
            return middle;
        }
        if (keyTime < time) {
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return -1;
}

// A rotation value the zero pose may change: numeric, unlocked, a float.
DzFloatProperty* zeroableProperty(DzProperty* property) {
    if (property == nullptr || !property->isNumeric() || property->isLocked()) {
        return nullptr;
    }
    return qobject_cast<DzFloatProperty*>(property);
}

} // namespace

ZeroPose::~ZeroPose() {
    restore();
}

void ZeroPose::zero(DzFloatProperty& property, DzTime time) {
    Saved saved{&property, Change::Value, time, 0.0f};
    int keyIndex = -1;
    if (property.getNumKeys() == 0) {
        // The property's own value: a controller's share (a pose dial driving
        // the bone) is not part of it and must not be set back into it.
        saved.previous = static_cast<float>(property.getRawValue(time));
    } else {
        keyIndex = keyIndexAt(property, time);
        if (keyIndex >= 0) {
            saved.change = Change::KeyValue;
            saved.previous = static_cast<float>(property.getKeyValue(keyIndex));
        } else {
            saved.change = Change::AddedKey;
        }
    }
    saved_.push_back(saved); // kept before anything changes
    switch (saved.change) {
    case Change::Value:
        property.setValue(0.0f); // without keys: the one value, no key added
        break;
    case Change::KeyValue:
        property.setKeyValue(keyIndex, 0.0f); // keeps the key's interpolation
        break;
    case Change::AddedKey:
        property.setValue(time, 0.0f);
        break;
    }
}

void ZeroPose::apply(const std::vector<DzNode*>& nodes, DzTime time) {
    const QString rotationGroup = QStringLiteral("Rotation");
    std::vector<DzPropertyGroup*> pending;
    for (DzNode* node : nodes) {
        const DzPropertyGroupTree* tree = node->getPropertyGroups();
        if (tree == nullptr || !node->inherits(QStringLiteral("DzBone"))) {
            continue;
        }
        // Depth first: a group, then its children, then its later siblings.
        pending.assign(1, tree->getFirstChild());
        while (!pending.empty()) {
            DzPropertyGroup* group = pending.back();
            pending.pop_back();
            if (group == nullptr) {
                continue;
            }
            if (group->getName() == rotationGroup) {
                for (int i = 0; i < group->getNumProperties(); ++i) {
                    if (DzFloatProperty* property = zeroableProperty(group->getProperty(i))) {
                        zero(*property, time);
                    }
                }
            }
            pending.push_back(group->getNextSibling());
            pending.push_back(group->getFirstChild());
        }
    }
}

void ZeroPose::restore() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        DzFloatProperty* property = it->property.data();
        if (property == nullptr) {
            continue; // deleted meanwhile: nothing to give back
        }
        switch (it->change) {
        case Change::Value:
            if (property->getNumKeys() == 0) {
                property->setValue(it->previous);
            }
            break;
        case Change::KeyValue: {
            const int keyIndex = keyIndexAt(*property, it->time);
            if (keyIndex >= 0) {
                property->setKeyValue(keyIndex, it->previous);
            }
            break;
        }
        case Change::AddedKey: {
            // DzFloatProperty hides the time-range overload behind its index
            // one; the base class's overload deletes by time.
            DzProperty& base = *property;
            base.deleteKeys(DzTimeRange(it->time, it->time));
            break;
        }
        }
    }
    saved_.clear();
}

} // namespace exporter
} // namespace yfx
