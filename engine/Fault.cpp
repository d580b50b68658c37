#include "Fault.h"

namespace tamsor {

const char* reasonText(FaultReason reason) {
    switch (reason) {
    case FaultReason::InvalidOperation:
        return "出现无效运算";
    case FaultReason::DivisionByZero:
        return "除数为零";
    case FaultReason::Overflow:
        return "数值溢出";
    case FaultReason::OutOfRange:
        return "超出允许范围";
    case FaultReason::MissingData:
        return "数据个数不足";
    }
    return "出现无效运算";
}

std::string ComputeFault::message() const {
    return "计算出错：" + quantity + "，" + reasonText(reason) + "。";
}

} // namespace tamsor
