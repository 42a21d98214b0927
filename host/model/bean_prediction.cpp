#include "bean_prediction.h"

std::vector<double> PredictBeans(const BatchModel& model, BeanState start, const std::vector<SentValues>& sent) {
    const BeanPredictor predict(model);
    std::vector<double> out;
    out.reserve(sent.size() + 1);
    out.push_back(start.bean_f);
    for (const SentValues& v : sent) {
        predict.Second(start, v.fan, v.heat);
        out.push_back(start.bean_f);
    }
    return out;
}
