#pragma once
// Four Tweed stage files of one patient, as the Tweed page saves them: a treatment whose
// values move across the norms (targets for FMA under and over 30, the clinician's own IMPA,
// each Horn class and texts typed without normalising).

#include "records/TweedFile.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <utility>
#include <vector>

namespace qv::test {

using FieldTexts = std::vector<std::pair<const char*, const char*>>;

inline const FieldTexts kInicialStage = {
    {"twfma", "25.0"},  {"twfmia", "66.0"},  {"twimpa", "95.0"},  {"twploc", "10.0"},  {"twsna", "82.0"},
    {"twsnb", "78.5"},  {"twaobo", "2.0"},   {"twangz", "75.0"},  {"twls", "15.0"},    {"twqt", "12.0"},
    {"twafa", "100.0"}, {"twafp", "66.0"},   {"anaer", "10.0"},   {"anaep", "7.5"},    {"anmer", "20.0"},
    {"anmep", "19.0"},  {"anmspee", "-1.5"}, {"anmcorr", "-2.0"}, {"anper", "12.0"},   {"anpep", "8.0"}};

// The record of a stage: the initial values with some changed.
inline QByteArray StageRecord(const QString& patient, const char* age, const FieldTexts& changes,
                              const char* ownImpa = nullptr)
{
    TweedFileRecord r;
    r.twPaciente = patient;
    r.Idade = QString::fromLatin1(age);
    r.GenMasc = true;
    for (const FieldTexts* list : {&kInicialStage, &changes})
        for (const auto& [name, text] : *list)
            r.*(TweedFieldOf(name).input) = QString::fromLatin1(text);
    if (ownImpa) {
        r.dcnao = true;
        r.dcopcres = QString::fromLatin1(ownImpa);
    }
    return EncodeTweed(r);
}

// INICIAL, INTER1, INTER2, FINAL.
inline std::array<QByteArray, 4> FourStages(const QString& patient)
{
    return {StageRecord(patient, "13", {}),
            StageRecord(patient, "14", {{"twfma", "26.5"}, {"twfmia", "64.0"}, {"twimpa", "98.5"},
                                        {"twsnb", "77.0"}, {"twafp", "58.0"}, {"twangz", "68.0"},
                                        {"anaep", "8.5"}}, "90.0"),
            StageRecord(patient, "15", {{"twfma", "31"}, {"twimpa", "92"}, {"twafp", "86.0"}, {"twploc", "9"},
                                        {"anmspee", "-1"}, {"anpep", "11.0"}}),
            StageRecord(patient, "16", {{"twfma", "24.0"}, {"twfmia", "67.5"}, {"twimpa", "90.0"}, {"twsna", "81.0"},
                                        {"twsnb", "79.0"}, {"twangz", "77.0"}, {"twafp", "68.0"}, {"anaep", "9.5"},
                                        {"anmspee", "-0.5"}, {"anmcorr", "0.0"}, {"anpep", "12.0"}})};
}

}  // namespace qv::test
