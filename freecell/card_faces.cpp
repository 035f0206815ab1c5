#include "freecell/card_faces.h"

#include <algorithm>
#include <cmath>

namespace freecell {

namespace {

constexpr double kPi = 3.14159265358979323846;

Outline circle(double x, double y, double radius) {
    Outline outline;
    for (int i = 0; i < 20; ++i) {
        const double angle = 2 * kPi * i / 20;
        outline.push_back({x + radius * std::cos(angle), y + radius * std::sin(angle)});
    }
    return outline;
}

// The classic heart curve, scaled into -1..1, its point at the bottom.
Outline heartCurve() {
    Outline outline;
    for (int i = 0; i < 48; ++i) {
        const double t = 2 * kPi * i / 48;
        const double x = 16 * std::pow(std::sin(t), 3);
        const double y = -(13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t));
        outline.push_back({x, y});
    }
    double top = 0, bottom = 0, side = 0;
    for (const ShapePoint& point : outline) {
        top = std::min(top, point.y);
        bottom = std::max(bottom, point.y);
        side = std::max(side, std::abs(point.x));
    }
    const double scale = 2 / std::max(bottom - top, 2 * side);
    const double middle = (top + bottom) / 2;
    for (ShapePoint& point : outline) point = {point.x * scale, (point.y - middle) * scale};
    return outline;
}

Outline stem(double top, double halfWidth) { return {{0, top}, {halfWidth, 1}, {-halfWidth, 1}}; }

std::vector<std::vector<Outline>> makeShapes() {
    const Outline heart = heartCurve();
    Outline spade;
    for (const ShapePoint& point : heart) spade.push_back({point.x * 0.85, -point.y * 0.8 - 0.2});
    const std::vector<Outline> clubs = {circle(0, -0.52, 0.42), circle(-0.5, 0.12, 0.42), circle(0.5, 0.12, 0.42),
                                        stem(0, 0.3)};
    const std::vector<Outline> diamonds = {{{0, -1}, {0.72, 0}, {0, 1}, {-0.72, 0}}};
    const std::vector<Outline> hearts = {heart};
    const std::vector<Outline> spades = {spade, stem(0.2, 0.3)};
    return {clubs, diamonds, hearts, spades};
}

}  // namespace

const std::vector<Outline>& suitShape(int suit) {
    static const std::vector<std::vector<Outline>> shapes = makeShapes();
    return shapes[suit];
}

std::vector<Pip> pipLayout(int rank) {
    constexpr double kLeft = 21, kMiddle = 35.5, kRight = 50;
    constexpr double kTop = 26, kCentre = 48, kBottom = 70;
    constexpr double kHalf = 6.5;
    if (rank == 0) return {{kMiddle, kCentre, 15, false}};
    const int count = rank + 1;
    if (count > 10) return {};

    std::vector<std::pair<double, double>> spots;
    const auto pair = [&](double y) {
        spots.push_back({kLeft, y});
        spots.push_back({kRight, y});
    };
    const double third = (kBottom - kTop) / 3;
    if (count <= 3) {
        spots.push_back({kMiddle, kTop});
        spots.push_back({kMiddle, kBottom});
        if (count == 3) spots.push_back({kMiddle, kCentre});
    } else if (count <= 8) {
        pair(kTop);
        pair(kBottom);
        if (count == 5) spots.push_back({kMiddle, kCentre});
        if (count >= 6) pair(kCentre);
        if (count >= 7) spots.push_back({kMiddle, (kTop + kCentre) / 2});
        if (count == 8) spots.push_back({kMiddle, (kCentre + kBottom) / 2});
    } else {
        for (int row = 0; row < 4; ++row) pair(kTop + row * third);
        if (count == 9) spots.push_back({kMiddle, kCentre});
        if (count == 10) {
            spots.push_back({kMiddle, kTop + third / 2});
            spots.push_back({kMiddle, kBottom - third / 2});
        }
    }
    std::vector<Pip> pips;
    for (const auto& [x, y] : spots) pips.push_back({x, y, kHalf, y > kCentre});
    return pips;
}

}  // namespace freecell
