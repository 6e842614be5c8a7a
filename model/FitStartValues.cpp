#include <cmath>

#include "model/Fit.h"
#include "model/FitPrepared.h"

namespace pendulab {

FitStartValues fitStartValues(const FitRequest& rq)
{
    using namespace fit;
    FitStartValues v;
    const Prepared p = prepared(rq);
    if (p.refusal) {
        v.message = p.refusal->message;
        return v;
    }
    const Start start = primaryStart(p.s, p.sh, p.fallbackF);
    if (!std::isfinite(start.ssr)) return v;
    v.ok = true;
    v.excited = rq.excited;
    v.stiffness = start.q[K];
    v.friction = start.q[H];
    v.amplitude = start.q[A];
    v.offset = start.q[C];
    v.releaseTime = start.q[T0];
    if (rq.excited) v.exciterAmplitude = start.q[F];
    return v;
}

} // namespace pendulab
