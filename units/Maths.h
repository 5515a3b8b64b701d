#pragma once
double PuissanceReel(double x, int n);
