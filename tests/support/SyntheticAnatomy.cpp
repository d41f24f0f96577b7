#include "support/SyntheticSkull.h"

#include <algorithm>

namespace qv::test::synth {

using L = Landmark;

Proportions DrawProportions(Random& r)
{
    Proportions p;
    p.sn = r.normal(70, 2.8);
    p.snTilt = Radians(r.normal(7, 2));
    p.sellaR = r.uniform(4.3, 6.0);
    p.fh = r.normal(19, 1.5);
    p.poX = r.normal(-27, 2);
    p.earR = r.uniform(3.8, 5.0);
    p.orbitRx = r.uniform(13, 16);
    p.orbitRy = r.uniform(15, 18);
    p.orbitBack = r.normal(16, 1.5);
    p.orDrop = r.normal(0, 1);
    p.glabella = r.uniform(3, 7);
    p.vault = r.normal(1, 0.04);
    p.vaultT = r.uniform(5.5, 7.5);
    p.baDist = r.normal(45, 2.5);
    p.baAngle = Radians(r.normal(130, 4));
    p.arFrac = r.uniform(0.12, 0.16);
    p.arDrop = r.uniform(0.6, 2.4);
    p.faceH = r.normal(1, 0.05);
    p.palLen = r.normal(51, 2.5);
    p.palTilt = Radians(r.normal(0, 2));
    p.enaFwd = r.normal(3, 2);
    p.enaLen = r.uniform(4, 7);
    p.aDepth = r.uniform(0.5, 2.5);
    p.apexBack = r.uniform(2, 4);
    p.apexDrop = r.uniform(-1, 2);
    p.u1Angle = Radians(r.normal(110, 5));
    p.u1Len = r.normal(23.5, 1);
    p.l1Len = r.normal(21.5, 1);
    p.l1Lean = Radians(r.normal(25, 5));
    p.overjet = r.uniform(1.5, 5);
    p.overbite = r.uniform(0.5, 3.5);
    p.teeth = r.normal(1, 0.04);
    p.mp = Radians(r.normal(25, 4));
    p.occ = Radians(r.normal(9, 2));
    p.occLen = r.normal(33, 1.5);
    p.ramusSlant = r.normal(5, 2.5);
    p.gonialR = r.uniform(8, 13);
    p.notch = r.uniform(0.5, 2.2);
    p.chinProm = r.uniform(0.5, 4.5);
    p.bDepth = r.uniform(1.2, 3);
    p.condRx = r.uniform(4.5, 5.5);
    p.condRy = r.uniform(5.5, 6.8);
    p.coronoid = r.uniform(-2, 2);
    p.fissureX = r.uniform(1, 3);
    p.fissureH = r.uniform(16, 20);
    p.fissureR = r.uniform(2.2, 3.2);
    p.rodX = r.uniform(-1.5, 1.5);
    p.rodY = r.uniform(-1.5, 1.5);
    p.spineTilt = Radians(r.normal(0, 4));
    p.upperLip = r.normal(14, 1.3);
    p.lowerLip = r.normal(14, 1.3);
    p.chinSoft = r.normal(11.5, 1.3);
    p.labioMental = r.normal(10.5, 1.2);
    p.noseProj = r.normal(16, 2);
    p.noseH = r.normal(15, 1.5);
    p.nasionSoft = r.normal(6.5, 1);
    p.colAngle = Radians(r.uniform(8, 24));
    p.snFwd = r.uniform(-1.5, 1.5);
    p.soft = r.uniform(0.2, 0.3);
    p.bone = r.uniform(0.24, 0.34);
    p.cortex = r.uniform(0.12, 0.22);
    p.enamel = r.uniform(0.3, 0.45);
    p.dentine = r.uniform(0.3, 0.42);
    return p;
}

namespace {

V Labial(V axis)
{
    const V side = TurnRight(axis);
    return side.x >= 0 ? side : -1 * side;
}

}  // namespace

Skull Frame(const Proportions& p)
{
    Skull k;
    k.N = p.sn * Direction(-p.snTilt);
    k.G = k.N + V{p.glabella, -13 * p.faceH};
    k.nasalTip = k.N + V{9.5, 21 * p.faceH};
    k.Fr1 = k.N + V{p.glabella - 1.5, -32};
    k.Fr2 = k.N + V{-7, -63 * p.vault};
    k.Vx = {-20 * p.vault, -108 * p.vault};
    k.Vb = {-86 * p.vault, -92 * p.vault};
    k.Oc = {-119 * p.vault, -40 * p.vault};
    k.In = {-116 * p.vault, 5};
    k.Ob = {-92 * p.vault, 36};
    k.Ba = p.baDist * Direction(p.baAngle - p.snTilt);
    const V baN = k.N - k.Ba;
    k.ArN = k.Ba + p.arFrac * baN + p.arDrop * Unit(TurnRight(baN));
    k.Q = k.Ba + 2.4 * (k.ArN - k.Ba);  // the clivus' lower surface runs straight through Ar
    k.Or = {k.N.x - p.orbitBack, p.fh + p.orDrop};
    k.ENA = {k.N.x + p.enaFwd, k.N.y + 52 * p.faceH};
    k.ENP = k.ENA - p.palLen * Direction(p.palTilt);
    k.A = k.ENA + V{-p.enaLen + 1 - p.aDepth, 9 * p.faceH};
    k.As = k.A + V{-p.apexBack, p.apexDrop};
    const double lean = p.u1Angle - Radians(90);
    k.axisU = {-Sin(lean), -Cos(lean)};
    k.sideU = Labial(k.axisU);
    k.Ui = k.As - p.u1Len * k.axisU;
    k.Pr = k.Ui + (10.5 * p.u1Len / 23.5 + 0.9) * k.axisU + 3.4 * k.sideU;
    k.Ii = k.Ui + V{-p.overjet, -p.overbite};
    k.axisL = {-Sin(p.l1Lean), Cos(p.l1Lean)};
    k.sideL = Labial(k.axisL);
    k.Ai = k.Ii + p.l1Len * k.axisL;
    k.Id = k.Ii + 9.3 * k.axisL + 2.7 * k.sideL;
    k.OclA = Lerp(k.Ui, k.Ii, 0.5);
    k.OclP = k.OclA + p.occLen * Direction(kPi + p.occ);
    k.occlusal = {k.OclP, Direction(p.occ), TurnRight(Direction(p.occ))};
    // The chin bulges ahead of the line from the alveolar crest to the lowest point.
    k.Me0 = k.Ai + V{-1 + 0.3 * p.chinProm, 19.5 * p.faceH};
    const V ahead = TurnLeft(Unit(k.Me0 - k.Id));
    k.Pog0 = Lerp(k.Id, k.Me0, 0.68) + (3.5 + p.chinProm) * ahead;
    k.Gn0 = Lerp(k.Id, k.Me0, 0.88) + (2.2 + 0.5 * p.chinProm) * ahead;
    k.B0 = Lerp(k.Id, k.Pog0, 0.5) - p.bDepth * TurnLeft(Unit(k.Pog0 - k.Id));
    return k;
}

void Cranium(Builder& b, const Skull& k)
{
    const Proportions& p = b.p;
    const double r = p.sellaR;
    // Outer table and nasal bones: from the nasal bones' tip up through the nasion, over the
    // vault, across the foramen magnum to the basion, along the clivus and under the sphenoid.
    Path outer(k.nasalTip);
    std::vector<int> at;
    outer.through({Lerp(k.nasalTip, k.N, 0.5) + V{-0.4, 0}, k.N});
    outer.through({k.G, k.Fr1, k.Fr2, k.Vx, k.Vb, k.Oc, k.In, k.Ob, k.Ba + V{-32, 5}}, &at);
    const int iG = at[0], iVaultEnd = outer.mark();
    outer.to(k.Ba).to(k.Q);
    outer.through({k.ENP + V{1, -21}, k.Or + V{-14, 3}, k.N + V{-7, 16}, k.nasalTip + V{-2.2, -0.6}});
    b.fill(outer.points(), p.bone);
    b.cortex(outer.points(), 0, iVaultEnd, 1.8, p.cortex);
    const V N = outer.points()[size_t(Deepest(outer.points(), 0, iG))];
    b.set(L::N, N);
    b.stroke({N, N + V{-3, -0.6}, N + V{-7, -1.8}}, 0.35, -0.6 * p.bone);  // frontonasal suture
    b.fill(Ellipse(k.G + V{-6.5, -5}, 4, 8.5, Radians(-10)), -0.6 * p.bone);

    // The brain's cavity with the pituitary fossa (the sella turcica) in the sphenoid.
    const V Af = k.N + V{-9, -5}, Pl{r + 7, -0.9 * r - 1}, D3{-1.02 * r - 2.8, -0.6 * r};
    const double t = p.vaultT;
    Path brain(Af);
    brain.through({Lerp(Af, Pl, 0.5) + V{0, -2.5}, Pl, V{0.94 * r, -0.34 * r}});
    brain.arc({0, 0}, r, r, Radians(-20), Radians(200));
    brain.through({{-1.02 * r, -1.15 * r}, {-0.72 * r, -1.55 * r}, {-1.02 * r - 2.3, -1.35 * r}, D3});
    brain.through({Lerp(D3, k.Ba, 0.5) + V{-1.2, 0}, k.Ba});
    brain.to(k.Ba + V{-32, 5});
    brain.through({k.Ob + V{t, -3}, k.In + V{t, -1}, k.Oc + V{t, 1}, k.Vb + V{0.7 * t, 0.7 * t}, k.Vx + V{0, t},
                   k.Fr2 + V{-t, 0.5 * t}, k.Fr1 + V{-t - 4, 0}, k.G + V{-13, 3}});
    b.fill(brain.points(), -0.5 * p.bone);
    b.stroke(Offset(brain.points(), SignedArea(brain.points()) > 0 ? 0.7 : -0.7, true), 1.4, p.cortex, true);
    b.fill(Ellipse({r + 5, r + 9}, 8, 5.5), -0.45 * p.bone);  // sphenoid sinus
    b.set(L::S, {0, 0});
    b.set(L::Ba, k.Ba);

    // Petrous ridge, mastoid, the ear canal and the cephalostat's ear rod around it.
    const V ear{p.poX, p.fh + p.earR};
    b.fill(Ellipse(ear + V{6, -1}, 17, 7.5, Radians(-18)), 0.8 * p.bone);
    b.fill(Ellipse(ear + V{-8, 9}, 7.5, 10, Radians(10)), 0.4 * p.bone);
    b.fill(Ellipse(ear, 0.9 * p.earR, p.earR), -1.3 * p.bone - 0.4 * p.soft);
    b.stroke(Ellipse(ear + V{p.rodX, p.rodY}, p.earR + 2.6, p.earR + 2.6), 1.1, 1.5 * p.bone, true);
    b.set(L::Po, {p.poX, p.fh});

    const V orbit{k.Or.x, k.Or.y - p.orbitRy};
    b.stroke(Ellipse(orbit, p.orbitRx, p.orbitRy), 1.3, 0.9 * p.cortex, true);
    b.fill(Ellipse(orbit, p.orbitRx - 0.8, p.orbitRy - 0.8), -0.2 * p.bone);
    b.set(L::Or, k.Or);
}

void Maxilla(Builder& b, const Skull& k)
{
    const Proportions& p = b.p;
    const Plane& o = k.occlusal;
    const V spineTop = k.ENA + V{-p.enaLen, -1.3}, ptRoot = k.ENP + V{1, -21};

    // Midface under the orbit, down to the nasal floor; the maxillary sinus; the key ridge.
    Path mid(ptRoot);
    mid.through({k.Or + V{-14, 3}, k.N + V{-7, 16}, k.nasalTip + V{-2.2, -0.6}, k.ENA + V{-9, -13}, spineTop});
    mid.through({Lerp(spineTop, k.ENP, 0.5) + V{0, -0.8}, k.ENP, k.ENP + V{3, -8}});
    b.fill(mid.points(), 0.45 * p.bone);
    b.fill(Ellipse({k.OclP.x + 4, (k.Or.y + k.ENA.y) / 2 + 2}, 12, 8.5), -0.3 * p.bone);
    Path ridge(V{k.OclP.x + 8, k.ENP.y - 2});
    ridge.through({{k.OclP.x + 11, k.Or.y + 14}, k.Or + V{-4, 6}});
    b.stroke(ridge.points(), 4, 0.25 * p.bone);

    // Pterygoid plates behind the pterygomaxillary fissure, a drop hanging over ENP.
    Path pterygoid(k.ENP + V{-8, -24});
    pterygoid.through({k.ENP + V{6, -24}, k.ENP + V{5, -1}, k.ENP + V{-1, -1.5}, k.ENP + V{-7, 9}, k.ENP + V{-9.5, 8}});
    b.fill(pterygoid.points(), 0.5 * p.bone);
    const V top = k.ENP + V{p.fissureX, -p.fissureH}, tip = k.ENP + V{1.2, -2.5};
    const double fr = p.fissureR, cb = fr / Length(tip - top), sb = std::sqrt(1 - cb * cb);
    const V u = Unit(tip - top), across = TurnRight(u);
    Polyline fissure{tip};
    for (const Polyline& half : {Arc(top, top + fr * (cb * u + sb * across), top - fr * u, 24),
                                 Arc(top, top - fr * u, top + fr * (cb * u - sb * across), 24)})
        fissure.insert(fissure.end(), half.begin(), half.end());
    b.fill(fissure, -0.6 * p.bone);
    b.stroke(fissure, 0.7, 0.6 * p.cortex, true);
    b.set(L::Pt, top + fr * Unit({-1, -1}));

    // The maxilla's alveolar process and the hard palate.
    const V spineLow = k.ENA + V{-p.enaLen, 1.8};
    Path mx(k.ENA);
    std::vector<int> at;
    mx.through({spineLow, k.A, k.Pr}, &at);
    mx.through({o.at(24, -9.8), o.at(12, -9.2), o.at(0, -8.9), o.at(-12, -8.5), o.at(-17.5, -6)});
    mx.through({k.ENP + V{2.5, 3}, k.ENP});
    mx.through({Lerp(k.ENP, spineTop, 0.5) + V{0, -0.8}, spineTop});
    b.fill(mx.points(), 0.8 * p.bone);
    b.stroke(mx.points(), 1.0, 0.8 * p.cortex, true);
    b.set(L::A, mx.points()[size_t(Deepest(mx.points(), at[0], at[2]))]);
    b.set(L::ENA, k.ENA);
    b.set(L::ENP, k.ENP);
    Path palate(k.ENP);
    palate.through({Lerp(k.ENP, spineTop, 0.5) + V{0, -0.6}, spineTop + V{-1.5, 0.6}, k.As + V{-2.5, 4}, k.As + V{-4.5, 10}});
    palate.through({Lerp(k.ENP, k.ENA, 0.55) + V{0, 6.5}, k.ENP + V{8, 3.2}});
    b.fill(palate.points(), 0.6 * p.bone);
}

namespace {

// An incisor from its edge along `axis` to the apex, `side` towards the lips. Returns the labial
// face of its crown.
Polyline Incisor(Builder& b, V edge, V axis, V side, double length, double crown, double w)
{
    auto P = [&](double along, double across) { return edge + along * axis + across * side; };
    const double c = crown, rl = length - crown;
    Path tooth(edge);
    std::vector<int> at;
    tooth.through({P(0.8, 1.1 * w), P(2.5, 2.3 * w), P(5, 3.2 * w), P(8, 3.2 * w), P(c, 2.9 * w)}, &at);
    const int cervixLabial = at.back();
    at.clear();
    tooth.through({P(c + 0.35 * rl, 2.3 * w), P(c + 0.7 * rl, 1.4 * w), P(length - 0.9, 0.55 * w), P(length, 0),
                   P(length - 0.9, -0.55 * w), P(c + 0.7 * rl, -1.4 * w), P(c + 0.35 * rl, -2.3 * w), P(c, -3 * w)},
                  &at);
    const int cervixLingual = at.back();
    tooth.through({P(c - 2.5, -3.5 * w), P(5, -2.3 * w), P(2.4, -1.2 * w), P(0.8, -0.6 * w), edge});
    const Polyline& t = tooth.points();
    Polyline crownOutline = Slice(t, 0, cervixLabial);
    const Polyline lingual = Slice(t, cervixLingual, int(t.size()) - 1);
    crownOutline.insert(crownOutline.end(), lingual.begin(), lingual.end());
    b.fill(t, b.p.dentine);
    b.fill(crownOutline, b.p.enamel);
    b.stroke({P(3.5, 0), P(length - 1.8, 0)}, 0.9, -0.6 * b.p.dentine);
    return Slice(t, 0, cervixLabial);
}

// A canine, premolar or molar centred `c` along the occlusal plane, its crown above the plane
// (upper) or below it; returns the crown.
Polyline Posterior(Builder& b, const Plane& o, double c, double w, double crownH, double rootL, bool upper, int roots)
{
    const double s = upper ? -1 : 1;
    auto P = [&](double t, double h) { return o.at(t, s * h); };
    Path tooth(P(c - w / 2 + 0.6, crownH));
    std::vector<int> at;
    std::vector<V> crown{P(c - w / 2 - 0.3, 0.45 * crownH)};
    if (roots == 0)  // a canine's single pointed cusp
        crown.insert(crown.end(), {P(c - w / 2 + 0.3, 1.6), P(c, -0.4), P(c + w / 2 - 0.3, 1.6)});
    else
        crown.insert(crown.end(), {P(c - w / 2, 0.7), P(c - w / 4, -0.4), P(c, 0.5), P(c + w / 4, -0.4), P(c + w / 2, 0.7)});
    crown.insert(crown.end(), {P(c + w / 2 + 0.3, 0.45 * crownH), P(c + w / 2 - 0.6, crownH)});
    tooth.through(crown, &at);
    const int cervix = at.back();
    if (roots == 2)
        tooth.through({P(c + w / 2 - 0.9, crownH + 0.4 * rootL), P(c + w / 4 + 0.4, crownH + rootL),
                       P(c + w / 8 - 0.2, crownH + 0.35 * rootL), P(c, crownH + 2.8), P(c - w / 8 + 0.2, crownH + 0.35 * rootL),
                       P(c - w / 4 - 0.4, crownH + 0.93 * rootL), P(c - w / 2 + 0.9, crownH + 0.4 * rootL)});
    else
        tooth.through({P(c + w / 2 - 1.1, crownH + 0.45 * rootL), P(c + 0.3, crownH + rootL), P(c - w / 2 + 1.1, crownH + 0.45 * rootL)});
    const Polyline crownOutline = Slice(tooth.points(), 0, cervix);
    b.fill(tooth.points(), b.p.dentine);
    b.fill(crownOutline, b.p.enamel);
    return crownOutline;
}

}  // namespace

void Teeth(Builder& b, const Skull& k)
{
    const Proportions& p = b.p;
    const double g = p.teeth, q = p.occLen / 33;
    const Polyline labial = Incisor(b, k.Ui, k.axisU, k.sideU, p.u1Len, 10.5 * p.u1Len / 23.5, g);
    b.set(L::Is, labial[size_t(Extreme(labial, 0, int(labial.size()) - 1, {1, 0}))]);
    b.set(L::As, k.As);
    Incisor(b, k.Ii, k.axisL, k.sideL, p.l1Len, 9.2 * p.l1Len / 21.5, 0.8 * g);
    b.set(L::Ii, k.Ii);
    b.set(L::Ai, k.Ai);
    const Plane& o = k.occlusal;
    // Upper: second and first molars, premolars, canine; then the lower ones.
    Posterior(b, o, -11.3 * q, 9.2 * g, 6.5 * g, 11 * g, true, 2);
    const Polyline molar = Posterior(b, o, -1.2 * q, 10 * g, 7 * g, 12.5 * g, true, 2);
    Posterior(b, o, 7.5 * q, 6.8 * g, 7.5 * g, 13.5 * g, true, 1);
    Posterior(b, o, 14.3 * q, 6.8 * g, 7.8 * g, 13.5 * g, true, 1);
    Posterior(b, o, 21.5 * q, 7.6 * g, 9.5 * g, 16.5 * g, true, 0);
    Posterior(b, o, -9.6 * q, 10.2 * g, 6.5 * g, 12 * g, false, 2);
    Posterior(b, o, 1.2 * q, 11 * g, 7 * g, 13 * g, false, 2);
    Posterior(b, o, 10.8 * q, 7 * g, 7.5 * g, 14 * g, false, 1);
    Posterior(b, o, 17.6 * q, 6.8 * g, 8 * g, 14 * g, false, 1);
    Posterior(b, o, 24 * q, 7 * g, 10 * g, 15.5 * g, false, 0);
    double distal = 1e9;
    for (V v : molar)
        distal = std::min(distal, Dot(v - o.origin, o.forward));
    b.set(L::U6, o.at(distal, 0));
    b.set(L::OclP, k.OclP);
    b.set(L::OclA, k.OclA);
}

Head DrawHead(Random& random)
{
    const Proportions p = DrawProportions(random);
    const Skull k = Frame(p);
    Builder b(p);
    Cranium(b, k);
    Maxilla(b, k);
    Teeth(b, k);
    Mandible(b, k);
    Neck(b, k);
    SoftTissue(b, k);
    return std::move(b.head);
}

}  // namespace qv::test::synth
