#include "support/SyntheticSkull.h"

#include <algorithm>

namespace qv::test::synth {

using L = Landmark;

void Mandible(Builder& b, const Skull& k)
{
    const Proportions& p = b.p;
    const Plane& o = k.occlusal;
    // The lower border is a tangent from Me to the angle; the ramus' posterior border one from
    // Ar; the angle a circle touching both.
    const V back = Direction(kPi + p.mp);
    const V G0 = k.Me0 + ((k.Me0.x - k.ArN.x - p.ramusSlant) / -back.x) * back;
    const V down = Unit(G0 - k.ArN), ahead = TurnLeft(down), along = Unit(k.Me0 - G0), up = TurnLeft(along);
    const double cosA = Dot(-1 * down, along), sinA = std::sqrt(1 - cosA * cosA);
    const double touch = p.gonialR * (1 + cosA) / sinA;
    const V Tr = G0 - touch * down, Tm = G0 + touch * along;
    const V centre = G0 + (p.gonialR / std::sqrt((1 - cosA) / 2)) * Unit(along - down);
    auto R = [&](double u, double v) { return k.ArN + u * down + v * ahead; };
    const double rx = p.condRx, ry = p.condRy, lr = Length(Tr - k.ArN), lm = Length(k.Me0 - Tm);
    const V condyle = R(-(ry + 3.2), 2.8);

    Path m(condyle + V{rx * Cos(Radians(25)), ry * Sin(Radians(25))});
    m.arc(condyle, rx, ry, Radians(25), Radians(-205));
    const int headEnd = m.mark();
    std::vector<int> at;
    m.through({R(-2.5, 0.4), k.ArN, R(0.4 * lr, 1.5), R(0.72 * lr, 1.1), Tr});
    const int arcStart = m.mark();
    m.append(Arc(centre, Tr, Tm, 40));
    const int arcEnd = m.mark();
    m.through({Tm + 0.22 * lm * along + p.notch * up, Tm + 0.5 * lm * along + 0.5 * up, Tm + 0.8 * lm * along + 0.35 * up, k.Me0},
              &at);
    const int notch = at[0], me0 = at[3];
    at.clear();
    m.through({k.Gn0, k.Pog0, k.B0, k.Id}, &at);
    const int b0 = at[2], id = at[3];
    at.clear();
    m.through({o.at(p.occLen - 8, 9.8), o.at(14, 9.5), o.at(2, 9.2), o.at(-10, 8.8), o.at(-16.5, 7.5)});
    const int rm = m.mark();
    m.through({R(31, 27), R(20, 24), R(6, 27.5), R(-8, 29 + p.coronoid)});
    const int ct = m.mark();
    m.through({R(-3.5, 22), R(1, 14), R(-3, 7), m.points().front()});
    const Polyline& line = m.points();
    const int last = int(line.size()) - 1;
    b.fill(line, 0.9 * p.bone);
    b.cortex(line, 0, last, 1.8, p.cortex);
    auto point = [&](int i) { return line[size_t(i)]; };

    b.set(L::Co, point(Extreme(line, 0, headEnd, Unit({-1, -1}))));
    V ar = k.ArN;  // the posterior border always crosses the clivus there or near
    int iAr = headEnd;
    Intersect(line, headEnd, arcStart, k.Ba, k.Q, &ar, &iAr);
    b.set(L::Ar, ar);
    int rp = arcEnd, tg = arcStart;
    for (int i = iAr; i <= arcEnd; ++i)
        if (Dot(point(i) - ar, down) > 8 && Cross(down, Unit(point(i) - ar)) > Cross(down, Unit(point(rp) - ar)))
            rp = i;
    // Pog: where a line from N touches the chin.
    const V N = b.get(L::N);
    int pog = me0;
    for (int i = me0; i <= b0; ++i)
        if ((point(i).x - N.x) * (point(pog).y - N.y) > (point(pog).x - N.x) * (point(i).y - N.y))
            pog = i;
    const int me = Extreme(line, pog, notch, {0, 1});
    const V Me = point(me);
    for (int i = arcStart; i <= notch; ++i)
        if (Cross(back, Unit(point(i) - Me)) < Cross(back, Unit(point(tg) - Me)))
            tg = i;
    b.set(L::Rp, point(rp));
    b.set(L::Tg, point(tg));
    const V corner = Meet(ar, point(rp), Me, point(tg));
    V go;
    if (Intersect(line, iAr, notch, corner, corner + Unit(Unit(ar - corner) + Unit(Me - corner)), &go))
        b.set(L::Go, go);
    b.set(L::Me, Me);
    b.set(L::Pog, point(pog));
    b.set(L::Gn, point(Extreme(line, pog, me, Unit({1, 1}))));
    const int deepest = Deepest(line, id, pog);
    b.set(L::B, point(deepest));
    b.set(L::Pm, point(Inflection(line, deepest, pog)));

    const int r1 = Deepest(line, rm, ct);
    b.set(L::R1, point(r1));
    V r2;
    if (Intersect(line, iAr, arcEnd, point(r1), point(r1) + V{1, 0}, &r2))
        b.set(L::R2, r2);
    const int r3 = Extreme(line, ct, last, {0, 1});
    b.set(L::R3, point(r3));
    V r4;
    if (Intersect(line, arcStart, me, point(r3), point(r3) + V{0, 1}, &r4))
        b.set(L::R4, r4);
    // Dc: the middle of the condylar process where the line Ba-N crosses it.
    Polyline process = Slice(line, r3, last);
    const Polyline behind = Slice(line, 0, std::min(iAr + 20, arcStart));
    process.insert(process.end(), behind.begin(), behind.end());
    const std::vector<V> cuts = Crossings(process, k.Ba, b.get(L::N));
    if (cuts.size() >= 2)
        b.set(L::Dc, Lerp(cuts[0], cuts[1], 0.5));

    // The symphysis: its lingual cortex and its centre.
    Path lingual(k.Me0);
    lingual.through({k.Me0 + V{-6.5, -3.2}, k.Ai + V{-7.5, 3.5}, k.Ai + V{-5.5, -7}, k.Ii + 9.8 * k.axisL - 3.4 * k.sideL, k.Id});
    Polyline symphysis = Slice(line, id, me0);
    symphysis.insert(symphysis.end(), lingual.points().begin() + 1, lingual.points().end() - 1);
    b.fill(symphysis, 0.2 * p.bone);
    b.stroke(lingual.points(), 1.6, p.cortex);
    b.set(L::D, Centroid(symphysis));
}

void Neck(Builder& b, const Skull& k)
{
    const Proportions& p = b.p;
    const V down = Turn(Unit({-0.12, 1}), p.spineTilt), ahead = TurnLeft(down), origin = k.Ba + V{-4.5, 9.5};
    auto S = [&](double a, double w) { return origin + a * down + w * ahead; };
    Path axis(S(0, 0.3));
    axis.through({S(2, 3.2), S(10, 3.6), S(13, 6.5), S(36, 7), S(39, 5.5), S(38.5, -9), S(34, -12), S(16, -10), S(12, -4), S(3, -2.8)});
    std::vector<Polyline> bones{axis.points(), Ellipse(S(4, 7.5), 2.6, 5, p.spineTilt)};
    for (double a : {43.0, 58.0, 73.0, 88.0}) {
        Path body(S(a, 7));
        body.through({S(a + 6, 7.4), S(a + 12.5, 7.5), S(a + 14, 0), S(a + 13.5, -9), S(a + 1.5, -9.5), S(a + 0.5, 0)});
        bones.push_back(body.points());
    }
    bones.push_back(Ellipse(k.Me0 + V{-28, 14}, 6, 2.6, Radians(-10)));  // hyoid
    for (Polyline& bone : bones) {
        b.stroke(Offset(bone, SignedArea(bone) > 0 ? -0.6 : 0.6, true), 1.2, p.cortex, true);
        b.fill(std::move(bone), 0.7 * p.bone);
    }
    // The airway from behind the nose down past the soft palate and the tongue.
    Path air(S(5, 11));
    air.through({k.Q + V{1, 3}, k.ENP + V{-2, 1.5}, k.ENP + V{-8, 11}, k.ENP + V{-11, 23}, k.ENP + V{-9, 38},
                 k.ENP + V{-11, 70}, k.ENP + V{-12, 200}});
    air.to(S(200, 11)).through({S(60, 11.5), S(25, 11)});
    b.fill(air.points(), -0.75 * p.soft);
}

void SoftTissue(Builder& b, const Skull& k)
{
    const Proportions& p = b.p;
    const V Is = b.get(L::Is), B = b.get(L::B), Pog = b.get(L::Pog), Gn = b.get(L::Gn), Me = b.get(L::Me);
    const V Sn{k.A.x + 13.5 + p.snFwd, k.ENA.y + 1.5};
    const V Prn = Sn + V{p.noseProj, -p.noseH};
    const V Cm = Sn + (0.42 * Length(Prn - Sn)) * Direction(-p.colAngle);
    const V Ls{Is.x + p.upperLip, Is.y - 1.5}, Li{k.Ii.x + 2.5 + p.lowerLip, k.Ii.y + 6.5};
    const V Sts{std::max(k.Ui.x, k.Ii.x + 2) + 6.5, k.Ui.y - 1};
    const V Ns = k.N + V{p.nasionSoft, 1.5};
    std::vector<int> at;
    Path s(V{k.Me0.x - 42, 330});
    s.through({{k.Me0.x - 32, k.Me0.y + 34}, {k.Me0.x - 18, k.Me0.y + 12}, Me + V{1, 8}, Gn + 0.7 * p.chinSoft * V{1, 1},
               Pog + V{p.chinSoft, 1.5}, B + V{p.labioMental, 1}, Li + V{-3, 6}, Li, Li + V{-1.5, -4.5}, Sts,
               Ls + V{-1.5, 4.5}, Ls, Lerp(Sn, Ls, 0.45) + V{-1.8, 0}, Sn},
              &at);
    const int softMe = at[2], fold = at[5], sts = at[9], sulcus = at[12], sn = at[13];
    s.to(Cm);
    const int cm = s.mark();
    at.clear();
    s.through({Prn + V{-1.2, 5.5}, Prn, Prn + V{-3.5, -6}, k.nasalTip + V{3.5, 0}, Ns + V{3, 9}, Ns, k.G + V{6.5, 0},
               k.Fr1 + V{6, 0}, k.Fr2 + V{6, -2}, k.Vx + V{0, -6.5}, k.Vb + V{-5, -5}, k.Oc + V{-7, 0}, k.In + V{-7, 3},
               {k.In.x - 4, 90}, {k.In.x + 6, 330}},
              &at);
    const int dorsum = at[3], glabella = at[6];
    const Polyline& line = s.points();
    b.fill(line, p.soft);
    auto point = [&](int i) { return line[size_t(i)]; };
    b.set(L::PogSoft, point(Extreme(line, softMe, fold, {1, 0})));
    b.set(L::Li, point(Extreme(line, fold, sts, {1, 0})));
    b.set(L::Ls, point(Extreme(line, sts, sulcus, {1, 0})));
    b.set(L::Sn, point(sn));
    b.set(L::Cm, point(cm));
    b.set(L::Prn, point(Extreme(line, cm, dorsum, {1, 0})));
    b.set(L::NSoft, point(Deepest(line, dorsum, glabella)));
}

}  // namespace qv::test::synth
