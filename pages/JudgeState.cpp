// The program's one judge state.
#include "JudgeState.h"

JudgeState& judgeState() {
    static JudgeState state;
    return state;
}

void resetJudgeState() {
    judgeState() = JudgeState{};
}
