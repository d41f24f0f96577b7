#pragma once
// The parts the synthetic skull is built from: its proportions drawn from the seed, the points
// the parts are placed around, and what draws them into the head.

#include "support/SyntheticAnatomy.h"

namespace qv::test::synth {

// How this head differs from the average one, in millimetres and radians.
struct Proportions {
    double sn, snTilt, sellaR, fh, poX, earR, orbitRx, orbitRy, orbitBack, orDrop, glabella, vault, vaultT;
    double baDist, baAngle, arFrac, arDrop;
    double faceH, palLen, palTilt, enaFwd, enaLen, aDepth, apexBack, apexDrop;
    double u1Angle, u1Len, l1Len, l1Lean, overjet, overbite, teeth;
    double mp, occ, occLen, ramusSlant, gonialR, notch, chinProm, bDepth, condRx, condRy, coronoid;
    double fissureX, fissureH, fissureR, rodX, rodY, spineTilt;
    double upperLip, lowerLip, chinSoft, labioMental, noseProj, noseH, nasionSoft, colAngle, snFwd;
    double soft, bone, cortex, enamel, dentine;
};

Proportions DrawProportions(Random& random);

// Points along a plane: t forward along it, w below it.
struct Plane {
    V origin, forward, down;
    V at(double t, double w) const { return origin + t * forward + w * down; }
};

// The points the parts of the head are built around.
struct Skull {
    V N, G, nasalTip, Ba, ArN, Q, Or, Fr1, Fr2, Vx, Vb, Oc, In, Ob;
    V ENA, ENP, A, Pr, As, Ui, Ii, Ai, Id, OclA, OclP;
    V axisU, sideU, axisL, sideL;  // incisors: from the edge to the apex, and to the lips
    Plane occlusal;
    V Pog0, Gn0, Me0, B0;
};

Skull Frame(const Proportions& p);

class Builder {
public:
    explicit Builder(const Proportions& p) : p(p) {}
    const Proportions& p;
    Head head;
    void fill(Polyline outline, double density) { head.layers.push_back({std::move(outline), density, 0, true}); }
    void stroke(Polyline line, double width, double density, bool closed = false)
    {
        head.layers.push_back({std::move(line), density, width, closed});
    }
    // A line along the inside of part of a closed outline, as the cortex of a bone.
    void cortex(const Polyline& outline, int from, int to, double width, double density)
    {
        const double inward = SignedArea(outline) > 0 ? -width / 2 : width / 2;
        Polyline part = from <= to ? Slice(outline, from, to) : Slice(outline, to, from);
        stroke(Offset(part, inward, false), width, density);
    }
    void set(Landmark l, V at) { head.landmarks[size_t(Index(l))] = at; }
    V get(Landmark l) const { return *head.landmarks[size_t(Index(l))]; }
};

void Cranium(Builder& b, const Skull& k);
void Maxilla(Builder& b, const Skull& k);
void Teeth(Builder& b, const Skull& k);
void Mandible(Builder& b, const Skull& k);
void Neck(Builder& b, const Skull& k);
void SoftTissue(Builder& b, const Skull& k);

}  // namespace qv::test::synth
