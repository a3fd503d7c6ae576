// DzWeightMap: one unsigned 16-bit weight per vertex.
// Raw value 32767 stands for 1.0 (DZ_WEIGHT_EPSILON is one raw step); raw values
// above it read as 1.0. Convert with floatToWeight / weightToFloat only.
// beginEdit keeps a copy of the weights so that cancelEdit can restore them;
// edits outside a bracket are allowed and are not undoable.
//
// What still differs from the host: the map holds its weights itself (the host
// keeps them in a shared DzWeightMapValues and shares maps through DzWeightMapPtr,
// neither declared here); normalisation, locking, persistence and the strength
// control are left out. DZ_WEIGHT_FULL is the stand-in's own name.
#pragma once

#include "dzelement.h"
#include "dzrefcounteditem.h"

#include <vector>

#define DZ_WEIGHT_EPSILON 3.0518509476e-5f
#define DZ_WEIGHT_FULL 32767

class DZ_EXPORT DzWeightMap : public DzElement, public DzRefCountedItem {
    Q_OBJECT
public:
    explicit DzWeightMap(const QString& name = QString());
    // n zero weights; a negative count gives none.
    explicit DzWeightMap(int nWeights, const QString& name = QString());
    ~DzWeightMap() override;

    // The raw array (NULL while there are no weights).
    unsigned short* getWeights();
    const unsigned short* getWeights() const;
    // 0 for an index out of range.
    unsigned short getWeight(int index) const;
    // Ignored for an index out of range.
    void setWeight(int index, unsigned short weight);

    // NaN becomes 0; other values are clamped to [0, 1] and rounded to the nearest raw step.
    static unsigned short floatToWeight(float w);
    static float weightToFloat(unsigned short w);

public slots:
    int getNumWeights() const { return int(m_weights.size()); }
    // The weight at the index mapped to 0..1; 0 for an index out of range.
    double getFloatWeight(int index) const;
    // Resizes to n weights (a negative n counts as 0). With keepExisting the first
    // weights stay and new ones are 0; without it every weight becomes 0.
    void setNumWeights(int n, bool keepExisting = false);
    bool isEmpty() const;
    void beginEdit() override;
    void finishEdit() override;
    // Restores the weights saved by the outermost beginEdit and closes every
    // open bracket; without an open bracket it changes nothing.
    void cancelEdit() override;

private:
    std::vector<unsigned short> m_weights;
    std::vector<unsigned short> m_saved;
    bool m_hasSaved = false;
};
