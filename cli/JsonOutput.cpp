#include "BatchOutput.h"

#include "CodeChecks.h"
#include "Plausibility.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tamsor {

namespace {

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

// The order of the members of one object is worked out once per field
// table: a project's object is then written member by member, each value
// straight from the results.
struct Member {
    enum class Kind {
        Field, // a field's value, or its array of values per point
        Modes, // the array "modes" of the object's per-mode fields
        Group, // a group's object, or null
        Extra, // a member the caller writes (resultJson's own)
    };
    std::string_view key;
    Kind kind = Kind::Field;
    const ResultField* field = nullptr; // Field
    std::size_t object = 0;             // Modes, Group: the object in JsonLayout::objects
    int extra = 0;                      // Extra: the caller's number for it
};

// The members of one object (the top, or a group's) and of its mode
// objects, each in the order of their keys' bytes. A key given twice keeps
// its last member.
struct ObjectLayout {
    const ResultGroup* group = nullptr; // nothing for the top
    std::vector<Member> members;
    std::vector<const ResultField*> modeFields;
};

struct JsonLayout {
    std::vector<ObjectLayout> objects; // the top first
};

bool perMode(const ResultField& field) {
    return field.shape == FieldShape::PerMode || field.shape == FieldShape::PerModePerPoint;
}

// Orders members by key; of members under the same key only the one added
// last stays, as a later insert into an object replaces an earlier one.
void sortMembers(std::vector<Member>& members) {
    std::stable_sort(members.begin(), members.end(),
                     [](const Member& a, const Member& b) { return a.key < b.key; });
    std::vector<Member> kept;
    for (std::size_t i = 0; i < members.size(); ++i)
        if (i + 1 == members.size() || members[i + 1].key != members[i].key)
            kept.push_back(members[i]);
    members = std::move(kept);
}

// `extraKeys` are the keys of the members the caller adds at the top, in
// the order it adds them after the fields.
JsonLayout makeLayout(std::span<const ResultField> fields, std::span<const ResultGroup> groups,
                      std::span<const std::string_view> extraKeys = {}) {
    // The objects in the order their first field comes, the top first.
    std::vector<std::string_view> keys{std::string_view()};
    for (const ResultField& field : fields)
        if (std::find(keys.begin(), keys.end(), field.group) == keys.end())
            keys.push_back(field.group);

    JsonLayout layout;
    layout.objects.resize(keys.size());
    for (std::size_t o = 0; o < keys.size(); ++o) {
        ObjectLayout& object = layout.objects[o];
        if (o > 0)
            object.group = resultGroup(groups, keys[o]);
        for (const ResultField& field : fields) {
            if (field.group != keys[o])
                continue;
            if (perMode(field))
                object.modeFields.push_back(&field);
            else
                object.members.push_back(Member{field.key, Member::Kind::Field, &field});
        }
        if (!object.modeFields.empty())
            object.members.push_back(Member{"modes", Member::Kind::Modes, nullptr, o});
        std::stable_sort(
            object.modeFields.begin(), object.modeFields.end(),
            [](const ResultField* a, const ResultField* b) { return a->key < b->key; });
    }
    // A group's fields stand in its object at the top.
    std::vector<Member>& top = layout.objects.front().members;
    for (std::size_t o = 1; o < keys.size(); ++o)
        top.push_back(Member{keys[o], Member::Kind::Group, nullptr, o});
    for (std::size_t e = 0; e < extraKeys.size(); ++e)
        top.push_back(Member{extraKeys[e], Member::Kind::Extra, nullptr, 0, static_cast<int>(e)});
    for (ObjectLayout& object : layout.objects) {
        sortMembers(object.members);
        // Per-mode fields under one key: the last one stays, as above.
        auto& modeFields = object.modeFields;
        std::vector<const ResultField*> kept;
        for (std::size_t i = 0; i < modeFields.size(); ++i)
            if (i + 1 == modeFields.size() || modeFields[i + 1]->key != modeFields[i]->key)
                kept.push_back(modeFields[i]);
        modeFields = std::move(kept);
    }
    return layout;
}

void key(JsonWriter& w, std::string_view text) {
    w.Key(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

void string(JsonWriter& w, std::string_view text) {
    w.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

// A number, or null when it is not finite.
// A number, or null when it is not finite. A whole number that a double
// holds exactly (up to 2^53) is written as an integer, "10" rather than
// "10.0", and without the work of finding its digits.
void number(JsonWriter& w, double value) {
    constexpr double kExactWhole = 9007199254740992.0; // 2^53
    if (value >= -kExactWhole && value <= kExactWhole) {
        const auto whole = static_cast<std::int64_t>(value);
        if (static_cast<double>(whole) == value && (whole != 0 || !std::signbit(value))) {
            w.Int64(whole);
            return;
        }
    }
    if (std::isfinite(value))
        w.Double(value);
    else
        w.Null();
}

void value(JsonWriter& w, const FieldValue& v) {
    if (const double* n = std::get_if<double>(&v))
        number(w, *n);
    else if (const bool* flag = std::get_if<bool>(&v))
        w.Bool(*flag);
    else if (const std::string_view* name = std::get_if<std::string_view>(&v))
        string(w, *name);
    else
        w.Null();
}

// A field's values at one mode (0 for the shapes without modes): one value,
// or an array of one value per mass point.
void fieldValues(JsonWriter& w, const ResultField& field, const Results& r, std::size_t mode) {
    if (field.shape == FieldShape::Structure || field.shape == FieldShape::PerMode) {
        value(w, field.value(r, FieldIndex{mode, 0}));
        return;
    }
    w.StartArray();
    for (std::size_t i = 0; i < r.pointCount(); ++i)
        value(w, field.value(r, FieldIndex{mode, i}));
    w.EndArray();
}

template <typename Extra>
void writeObject(JsonWriter& w, const JsonLayout& layout, std::size_t o, const Results& r,
                 const Extra& extra) {
    const ObjectLayout& object = layout.objects[o];
    w.StartObject();
    for (const Member& member : object.members) {
        key(w, member.key);
        switch (member.kind) {
        case Member::Kind::Field:
            fieldValues(w, *member.field, r, 0);
            break;
        case Member::Kind::Modes: {
            const ResultGroup* group = layout.objects[member.object].group;
            const std::size_t modes = group != nullptr
                                          ? group->modeCount(r)
                                          : static_cast<std::size_t>(r.numbers().nModes);
            w.StartArray();
            for (std::size_t j = 0; j < modes; ++j) {
                w.StartObject();
                for (const ResultField* field : layout.objects[member.object].modeFields) {
                    key(w, field->key);
                    fieldValues(w, *field, r, j);
                }
                w.EndObject();
            }
            w.EndArray();
            break;
        }
        case Member::Kind::Group: {
            const ResultGroup* group = layout.objects[member.object].group;
            if (group != nullptr && !group->present(r))
                w.Null();
            else
                writeObject(w, layout, member.object, r, extra);
            break;
        }
        case Member::Kind::Extra:
            extra(w, member.extra);
            break;
        }
    }
    w.EndObject();
}

// The writer and its buffer of the calling thread, emptied: each project's
// object is written without allocating anew.
JsonWriter& emptyWriter(rapidjson::StringBuffer*& buffer) {
    thread_local rapidjson::StringBuffer threadBuffer;
    thread_local JsonWriter writer(threadBuffer);
    threadBuffer.Clear();
    writer.Reset(threadBuffer);
    buffer = &threadBuffer;
    return writer;
}

// resultJson's own members, after the fields.
enum Extra { File, NFreedom, CodeVersion, TerrainType, Checks, Warnings, FirstCheckKey };

std::vector<std::string_view> extraKeys() {
    std::vector<std::string_view> keys{"file",        "nFreedom",   "codeVersion",
                                       "terrainType", "codeChecks", "warnings"};
    for (const CodeCheck& check : kCodeChecks)
        keys.push_back(check.key);
    return keys;
}

} // namespace

std::string fieldsJson(std::span<const ResultField> fields, std::span<const ResultGroup> groups,
                       const Results& r) {
    const JsonLayout layout = makeLayout(fields, groups);
    rapidjson::StringBuffer* buffer = nullptr;
    JsonWriter& w = emptyWriter(buffer);
    writeObject(w, layout, 0, r, [](JsonWriter&, int) {});
    return std::string(buffer->GetString(), buffer->GetSize());
}

std::string resultJson(const Results& r, const ComputeOutcome& outcome, std::string_view file) {
    static const std::vector<std::string_view> keys = extraKeys();
    static const JsonLayout layout = makeLayout(kResultFields, kResultGroups, keys);
    const std::size_t n = r.pointCount();
    const auto extra = [&](JsonWriter& w, int which) {
        switch (which) {
        case File:
            string(w, file);
            return;
        case NFreedom:
            w.Int(r.numbers().nFreedom);
            return;
        case CodeVersion:
            w.Int(static_cast<int>(r.edition()));
            return;
        case TerrainType:
            w.Int(r.numbers().terrainType);
            return;
        case Checks:
            w.StartArray();
            for (const CodeFinding& finding : outcome.failedChecks) {
                w.StartObject();
                key(w, "check");
                string(w, finding.key());
                key(w, "height");
                number(w, finding.height);
                key(w, "point");
                w.Int(finding.point);
                key(w, "required");
                number(w, finding.required);
                key(w, "text");
                string(w, finding.text());
                key(w, "value");
                number(w, finding.value);
                w.EndObject();
            }
            w.EndArray();
            return;
        case Warnings:
            w.StartArray();
            for (const InputWarning& warning : outcome.warnings) {
                w.StartObject();
                key(w, "point");
                if (warning.point > 0)
                    w.Int(warning.point);
                else
                    w.Null();
                key(w, "quantity");
                string(w, warning.quantity);
                key(w, "text");
                string(w, warning.text);
                key(w, "value");
                number(w, warning.value);
                w.EndObject();
            }
            w.EndArray();
            return;
        default:
            break;
        }
        const CodeCheck& check = kCodeChecks[static_cast<std::size_t>(which - FirstCheckKey)];
        w.StartArray();
        for (bool failed : failedPoints(outcome.failedChecks, check.check, n))
            w.Bool(failed);
        w.EndArray();
    };
    rapidjson::StringBuffer* buffer = nullptr;
    JsonWriter& w = emptyWriter(buffer);
    writeObject(w, layout, 0, r, extra);
    return std::string(buffer->GetString(), buffer->GetSize());
}

} // namespace tamsor
