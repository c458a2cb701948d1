#include "cli/ArgReader.h"

#include "cli/CliOptions.h"

namespace cli {

std::string ArgReader::value(std::size_t& i) const {
    if (i + 1 >= args_.size())
        throw UsageError{"для " + args_[i] + " не указано значение"};
    return args_[++i];
}

void ArgReader::text(std::size_t& i, std::optional<std::string>& slot) const {
    if (slot)
        throw UsageError{args_[i] + " указан дважды"};
    slot = value(i);
}

void ArgReader::number(std::size_t& i, std::optional<int32_t>& slot) const {
    if (slot)
        throw UsageError{args_[i] + " указан дважды"};
    const std::string name = args_[i];
    const std::string v = value(i);
    const std::optional<int32_t> n = parseInteger(v);
    if (!n)
        throw UsageError{"значение " + name + " должно быть целым числом: " + v};
    slot = n;
}

void checkCutSettings(const std::optional<int32_t>& kerf, const std::optional<int32_t>& trim,
                      const std::optional<int32_t>& minOffcut) {
    if ((kerf && (*kerf < 0 || *kerf > 100)) || (trim && (*trim < 0 || *trim > 1000)) ||
        (minOffcut && (*minOffcut < 0 || *minOffcut > 10000)))
        throw UsageError{"недопустимый пропил (0..100 мм), торцовка (0..1000 мм) или "
                         "минимальный остаток (0..10000 мм)"};
}

} // namespace cli
