#include "batch/run_scope.h"

namespace daybridge::batch {

void CallStack::Reset() {
    frames.assign(static_cast<std::size_t>(kMaxCallDepth) + 1, Frame{});
    depth = 0;
    ifTaken.fill(false);
    ifLevel = 0;
    doLoops.fill(DoLoop{});
    doLevel = 0;
}

void CallStack::Save(const VariableTable& variables) {
    Frame& caller = Top();
    caller.savedCount = variables.Count();
    caller.savedDoLevel = doLevel;
    caller.savedIfLevel = ifLevel;
}

void CallStack::Restore(VariableTable& variables) {
    const Frame& caller = Top();
    variables.TruncateTo(caller.savedCount);
    doLevel = caller.savedDoLevel;
    ifLevel = caller.savedIfLevel;
}

RunScope::RunScope(AppState& state, Host& host, const CallStack& stack, const TextFormat& format)
    : state_(state), host_(host), stack_(stack), format_(format) {}

std::optional<std::int32_t> RunScope::LookupVariable(const QString& upperName) const {
    const int slot = Find(upperName);
    if (slot >= 1) {
        return variables.Value(slot);
    }
    return std::nullopt;
}

std::optional<std::int32_t> RunScope::LookupRemembered(const QString& upperName,
                                                       SlotMemo& memo) const {
    const int slot = Find(upperName, memo);
    if (slot >= 1) {
        return variables.Value(slot);
    }
    return std::nullopt;
}

std::optional<int> RunScope::CountArray(const QString& upperName) const {
    const int first = Find(upperName + QStringLiteral("[1]"));
    if (first < 1) {
        return std::nullopt;
    }
    const QString prefix = upperName + QStringLiteral("[");
    int n = 0;
    for (int slot = first; slot <= variables.Count() && variables.Name(slot).startsWith(prefix);
         ++slot) {
        ++n;
    }
    return n;
}

std::int32_t RunScope::TodayJdn() const {
    return host_.todayJdn();
}

QString RunScope::Text(int id) const {
    return state_.settings.Text(id);
}

std::optional<std::int32_t> RunScope::VariableValue(const QString& name) const {
    return LookupVariable(UpperText(TrimWhite(name)));
}

}  // namespace daybridge::batch
