// The zero pose: before anything is read, every rotation value of every bone
// is set to 0 at the scene's current time, so that figures are gathered
// unposed. A rotation value is a float property of a property group named
// exactly "Rotation" (letter case counts; its sub-groups are searched too) that
// is numeric and not locked.
//
// The change is temporary: each property's previous state is kept before it
// is zeroed, and restore() gives it back exactly (for a property without
// keys its own value, which controllers such as a pose dial's links do not
// add to; for a keyed property the key at that time, its value and
// interpolation untouched, or the key the zero pose added removed), so the
// user's own keys and values are what they were. The destructor restores, so
// no way out of the gathering leaves the scene zeroed.
#pragma once

#include <vector>

#include <QtCore/QPointer>

#include <dzgeneraldefs.h>

class DzFloatProperty;
class DzNode;

namespace yfx {
namespace exporter {

class ZeroPose {
public:
    ZeroPose() = default;
    ~ZeroPose();
    ZeroPose(const ZeroPose&) = delete;
    ZeroPose& operator=(const ZeroPose&) = delete;

    // Zeroes the rotation values of every bone among `nodes`, in node order,
    // at `time` (the scene's current time).
    void apply(const std::vector<DzNode*>& nodes, DzTime time);
    // Gives back every value apply changed, last changed first. Does nothing
    // the second time.
    void restore();

    // How many property values are held zeroed.
    std::size_t zeroedCount() const { return saved_.size(); }

private:
    enum class Change { Value, KeyValue, AddedKey };
    struct Saved {
        QPointer<DzFloatProperty> property;
        Change change;
        DzTime time;
        float previous; // the own value (Value) or the key's value (KeyValue)
    };

    void zero(DzFloatProperty& property, DzTime time);

    std::vector<Saved> saved_;
};

} // namespace exporter
} // namespace yfx
