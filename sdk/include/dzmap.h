// DzMap: an array of values of one type: FLOAT_MAP (1 float per value),
// FLOAT2_MAP (2 floats, e.g. UVs), FLOAT3_MAP (3 floats, UVW), INT_MAP and
// SHORT_MAP (1 number per value; the stand-in keeps them as floats and offers no
// typed array for them). Values are stored contiguously.
// Shared by reference count (meshes hold a reference to the UV map they use).
//
// What still differs from the host: the map is itself a reference-counted
// item here (the host shares maps through a shared-pointer typedef, DzMapPtr, not
// declared here); the default values, the Pnt3, int and short setters and getters
// and the signals are left out.
#pragma once

#include "dzrefcounteditem.h"
#include "dzstorable.h"
#include "dzvec3.h"

#include <vector>

class DZ_EXPORT DzMap : public DzStorable, public DzRefCountedItem {
    Q_OBJECT
public:
    enum MapType { FLOAT_MAP = 0, FLOAT2_MAP, FLOAT3_MAP, INT_MAP, SHORT_MAP };

    explicit DzMap(MapType type = FLOAT_MAP);
    ~DzMap() override;

    // Each appends one value; ignored unless the map has the matching type.
    void appendPnt2Value(const DzPnt2 v);
    void appendPnt2Values(int n, const DzPnt2* v);
    void appendPnt3Value(const DzPnt3 v);
    // Ignored for an index out of range or another type.
    void setPnt2Value(int index, const DzPnt2 v);
    // NULL unless the map has that type and holds values.
    DzPnt2* getPnt2ArrayPtr() const;
    DzPnt3* getPnt3ArrayPtr() const;
    float* getFloatArrayPtr() const;
    // NULL for an index out of range or another type.
    const float* getPnt2Value(int index) const;

public slots:
    MapType getType() const { return m_type; }
    int getNumValues() const;
    int getNumDimensions() const;
    QString getLabel() const { return m_label; }
    void setLabel(const QString& label) { m_label = label; }
    // Without keepData the values are dropped. With it each value keeps its first
    // components (missing ones become 0).
    void setMapType(MapType type, bool keepData = false);
    // Grows (with zeros) or shrinks to n values; a negative n counts as 0.
    void setNumValues(int n);
    void preSize(int n);
    void clearAllData();
    void appendFloatValue(float v);
    // The script form of appendPnt2Value / setPnt2Value / getPnt2Value (x and y used).
    void appendPnt2Vec(const DzVec3& v);
    void setPnt2Vec(int index, const DzVec3& v);
    DzVec3 getPnt2Vec(int index) const;

private:
    MapType m_type;
    QString m_label;
    mutable std::vector<float> m_data;
};
