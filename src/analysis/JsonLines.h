#pragma once
// A JSON reader that remembers the line each value starts on, so a file a person wrote can be
// refused naming the line at fault. Objects keep their members in the order written; a name given
// twice in one object is refused (QJsonDocument would silently keep the last).

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace qv {

struct JsonMember;

struct JsonNode {
    enum Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Null;
    int line = 1;
    bool boolean = false;
    double number = 0;
    QString text;
    std::vector<JsonNode> items;                       // Array
    std::vector<JsonMember> members;  // Object, in the order written

    const JsonNode* member(const QString& name) const;
    bool isObject() const { return kind == Object; }
    bool isArray() const { return kind == Array; }
    bool isString() const { return kind == String; }
    bool isNumber() const { return kind == Number; }
};

struct JsonMember {
    QString name;
    JsonNode node;
};

struct JsonParse {
    std::optional<JsonNode> root;
    int line = 1;   // where the text is at fault
    QString error;  // in Portuguese; empty when read
};

JsonParse ParseJsonWithLines(const QByteArray& utf8);

}  // namespace qv
