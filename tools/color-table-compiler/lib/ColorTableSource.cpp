#include "ColorTableSource.h"

#include "ClusteredScreen.h"
#include "ColorLut.h"
#include "ToneCurve.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <stdexcept>

namespace ctc {

namespace {

using nlohmann::json;

constexpr uint8_t kTypeLut = 1;
constexpr uint8_t kTypeMatrix = 2;
constexpr uint8_t kTypeCurve = 4;
constexpr uint8_t kTypeWeights = 5;
constexpr uint8_t kTonerSaveBit = 0x80;
constexpr uint8_t kFoldGray = 0x01;
constexpr uint8_t kRendererUcrBg = 0x02;

struct PlaneName {
    const char* name;
    uint8_t code;
};
constexpr PlaneName kPlanes[] = {
    {"cyan", 1}, {"magenta", 2}, {"yellow", 4}, {"black", 8}, {"mono", 16},
};

// A source error: the message says where.
struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

const json& Need(const json& object, const char* key, const std::string& where)
{
    if (!object.is_object() || !object.contains(key)) {
        throw SourceError(where + ": \"" + key + "\" is missing");
    }
    return object.at(key);
}

double Number(const json& v, const std::string& where)
{
    if (!v.is_number()) {
        throw SourceError(where + " must be a number");
    }
    return v.get<double>();
}

int Integer(const json& v, const std::string& where, int lo, int hi)
{
    if (!v.is_number_integer() || v.get<int64_t>() < lo || v.get<int64_t>() > hi) {
        throw SourceError(where + " must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
    }
    return static_cast<int>(v.get<int64_t>());
}

std::pair<int, int> Pair(const json& v, const std::string& where, int lo, int hi)
{
    if (!v.is_array() || v.size() != 2) {
        throw SourceError(where + " must be a pair");
    }
    return {Integer(v[0], where, lo, hi), Integer(v[1], where, lo, hi)};
}

Key MakeKey(uint8_t type)
{
    Key k{};
    k[0] = type;
    return k;
}

// Reads the colour parameters that an object gives, keeping the others.
void ReadLutParams(const json& o, LutParams* p, const std::string& where)
{
    auto number = [&](const char* key, double* out) {
        if (o.contains(key)) {
            *out = Number(o.at(key), where + "." + key);
        }
    };
    number("gamma", &p->gamma);
    number("black_start", &p->blackStart);
    number("black_power", &p->blackPower);
    number("black_max", &p->blackMax);
    number("ucr", &p->ucr);
    number("ink_limit", &p->inkLimit);
    number("saturation", &p->saturation);
    if (o.contains("gray_balance")) {
        const json& b = o.at("gray_balance");
        if (!b.is_array() || b.size() != 3) {
            throw SourceError(where + ".gray_balance must list C, M and Y");
        }
        for (int i = 0; i < 3; ++i) {
            p->grayBalance[i] = Number(b[i], where + ".gray_balance");
        }
    }
}

void AddLuts(const json& colour, std::vector<TableEntry>* out)
{
    LutParams base;
    ReadLutParams(colour, &base, "colour");
    const json& luts = Need(colour, "luts", "colour");
    if (!luts.is_array() || luts.empty()) {
        throw SourceError("colour.luts must list at least one table");
    }
    for (size_t n = 0; n < luts.size(); ++n) {
        const std::string where = "colour.luts[" + std::to_string(n) + "]";
        const json& item = luts[n];
        LutParams p = base;
        ReadLutParams(item, &p, where);
        const int mode = Integer(Need(item, "mode", where), where + ".mode", 1, 5);
        const int media = item.contains("media") ? Integer(item.at("media"), where + ".media", 0, 0xFFFF) : 0;
        if (item.contains("gray_in_black")) {
            if (!item.at("gray_in_black").is_boolean()) {
                throw SourceError(where + ".gray_in_black must be true or false");
            }
            p.grayInBlack = item.at("gray_in_black").get<bool>();
        }
        if (item.contains("renderer_ucr_bg")) {
            const auto [ucr, bg] = Pair(item.at("renderer_ucr_bg"), where + ".renderer_ucr_bg", 0, 100);
            p.rendererUcrBg = true;
            p.ucrPercent = ucr;
            p.bgPercent = bg;
        }
        if (p.grayInBlack && p.rendererUcrBg) {
            throw SourceError(where + ": gray_in_black and renderer_ucr_bg exclude each other");
        }
        std::string error;
        TableEntry e;
        e.payload = BuildColorLut(p, &error);
        if (!error.empty()) {
            throw SourceError(where + ": " + error);
        }
        e.key = MakeKey(kTypeLut);
        e.key[1] = static_cast<uint8_t>(mode);
        e.key[4] = static_cast<uint8_t>(media & 0xFF);
        e.key[5] = static_cast<uint8_t>(media >> 8);
        e.key[7] = static_cast<uint8_t>((p.grayInBlack ? kFoldGray : 0) | (p.rendererUcrBg ? kRendererUcrBg : 0));
        e.key[8] = static_cast<uint8_t>(p.ucrPercent);
        e.key[9] = static_cast<uint8_t>(p.bgPercent);
        out->push_back(std::move(e));
    }
}

}  // namespace

std::vector<TableEntry> CompileColorTableSource(const std::string& text, std::string* error)
{
    std::string ignored;
    std::string& err = error != nullptr ? *error : ignored;
    err.clear();
    std::vector<TableEntry> entries;
    try {
        const json source = json::parse(text);
        if (!source.is_object()) {
            throw SourceError("the source must be one JSON object");
        }

        if (source.contains("colour")) {
            AddLuts(source.at("colour"), &entries);
        }

        const json& screens = Need(source, "screens", "source");
        const int minTile = screens.contains("min_tile") ? Integer(screens.at("min_tile"), "screens.min_tile", 1, 256) : 32;
        double tonerSave = 0.0;
        if (screens.contains("toner_save_coverage")) {
            tonerSave = Number(screens.at("toner_save_coverage"), "screens.toner_save_coverage");
            if (!(tonerSave > 0 && tonerSave < 1)) {
                throw SourceError("screens.toner_save_coverage must lie between 0 and 1");
            }
        }
        const json& planes = Need(screens, "planes", "screens");
        if (!planes.is_object() || planes.empty()) {
            throw SourceError("screens.planes must name at least one plane");
        }
        for (auto it = planes.begin(); it != planes.end(); ++it) {
            bool known = false;
            for (const PlaneName& p : kPlanes) {
                known = known || it.key() == p.name;
            }
            if (!known) {
                throw SourceError("screens.planes: unknown plane \"" + it.key() + "\"");
            }
        }

        const json& resolutions = Need(source, "resolutions", "source");
        if (!resolutions.is_array() || resolutions.empty()) {
            throw SourceError("resolutions must list at least one resolution");
        }
        for (size_t n = 0; n < resolutions.size(); ++n) {
            const std::string where = "resolutions[" + std::to_string(n) + "]";
            const json& r = resolutions[n];
            const int code = Integer(Need(r, "code", where), where + ".code", 1, 8);
            if (code != 1 && code != 2 && code != 4 && code != 8) {
                throw SourceError(where + ".code must be 1, 2, 4 or 8");
            }
            const auto [dotsX, dotsY] = Pair(Need(r, "dots", where), where + ".dots", 1, 4);
            const double gain = r.contains("dot_gain") ? Number(r.at("dot_gain"), where + ".dot_gain") : 0.0;
            if (!(gain >= 0 && gain <= 0.24)) {
                throw SourceError(where + ".dot_gain must be 0 to 0.24");
            }
            for (const PlaneName& plane : kPlanes) {
                if (!planes.contains(plane.name)) {
                    continue;
                }
                const std::string pw = std::string("screens.planes.") + plane.name;
                const auto [a, b] = Pair(planes.at(plane.name), pw, -64, 64);
                for (int variant = 0; variant < (tonerSave > 0 ? 2 : 1); ++variant) {
                    ScreenSpec spec;
                    spec.a = a;
                    spec.b = b;
                    spec.dotsX = dotsX;
                    spec.dotsY = dotsY;
                    spec.minSide = minTile;
                    spec.coverage = variant == 0 ? 1.0 : tonerSave;
                    std::string screenError;
                    ThresholdMatrix m = BuildClusteredScreen(spec, &screenError);
                    if (!screenError.empty()) {
                        throw SourceError(pw + ": " + screenError);
                    }
                    TableEntry e;
                    e.key = MakeKey(kTypeMatrix);
                    e.key[2] = plane.code;
                    e.key[6] = static_cast<uint8_t>(code);
                    e.key[10] = variant == 0 ? 0 : kTonerSaveBit;
                    e.width = static_cast<uint16_t>(m.width);
                    e.height = static_cast<uint16_t>(m.height);
                    e.payload = std::move(m.thresholds);
                    entries.push_back(std::move(e));
                }
                TableEntry curve;
                curve.key = MakeKey(kTypeCurve);
                curve.key[2] = plane.code;
                curve.key[6] = static_cast<uint8_t>(code);
                curve.payload = BuildDotGainCurve(gain);
                entries.push_back(std::move(curve));
            }
        }

        if (source.contains("gray_weights")) {
            const json& w = source.at("gray_weights");
            if (!w.is_array() || w.size() != 3) {
                throw SourceError("gray_weights must list red, green and blue");
            }
            TableEntry e;
            e.key = MakeKey(kTypeWeights);
            for (int i = 0; i < 3; ++i) {
                const int v = Integer(w[i], "gray_weights", -32768, 32767);
                e.payload.push_back(static_cast<uint8_t>(v & 0xFF));
                e.payload.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
            }
            entries.push_back(std::move(e));
        }
    } catch (const SourceError& e) {
        err = e.what();
        return {};
    } catch (const nlohmann::json::exception& e) {
        err = std::string("not readable JSON: ") + e.what();
        return {};
    }
    return entries;
}

}  // namespace ctc
