// What the tone curve's grid tells its owner: the curve changed (a point was dragged, or
// the points were reset).
#pragma once

class PEToneCurveView;

class PEToneCurveGridDelegate {
public:
    virtual ~PEToneCurveGridDelegate() = default;
    virtual void toneCurveDidChange(PEToneCurveView& sender) = 0;
};
