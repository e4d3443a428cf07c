// What an effect tells the tool that shows it: one of its settings changed.
#pragma once

class PEEffectBase;

class PEEffectDelegate {
public:
    virtual ~PEEffectDelegate() = default;

    // On the main thread, with the effect whose setting changed.
    virtual void effectParameterDidChange(PEEffectBase& effect) = 0;
};
