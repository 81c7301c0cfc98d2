#include <tessera/core/EventStep.h>

namespace ts {

EventStep::EventStep(int step_count) : m_step_count(step_count) { setType(STEP_EVENT); }

}  // namespace ts
