#pragma once

// A signal feeding the bench: volts as a function of bench time (seconds).
// A generator of the bench becomes the signal by implementing this.
class Source {
 public:
  virtual ~Source() = default;
  virtual double Tension(double t) const = 0;
  // The DC component, which AC coupling removes.
  virtual double Moyenne() const = 0;
  // Longest step over which the signal may be taken as a straight line (s);
  // circuits are stepped no coarser than this.
  virtual double PasMaximal() const = 0;
};

// offset + amplitude × sin(2π f t)
class Sinus final : public Source {
 public:
  Sinus(double amplitude, double frequence, double decalage = 0);
  double Tension(double t) const override;
  double Moyenne() const override { return decalage_; }
  double PasMaximal() const override;

 private:
  double amplitude_, frequence_, decalage_;
};

// Square wave between bas and haut, high during `rapport` (0..1) of each period,
// starting high at t = 0.
class Carre final : public Source {
 public:
  Carre(double bas, double haut, double frequence, double rapport);
  double Tension(double t) const override;
  double Moyenne() const override;
  double PasMaximal() const override;

 private:
  double bas_, haut_, frequence_, rapport_;
};

// offset + amplitude × a triangle that rises through 0 at t = 0, like the sine.
class Triangle final : public Source {
 public:
  Triangle(double amplitude, double frequence, double decalage = 0);
  double Tension(double t) const override;
  double Moyenne() const override { return decalage_; }
  double PasMaximal() const override;

 private:
  double amplitude_, frequence_, decalage_;
};

// A constant voltage (0 V by default): a grounded or idle input.
class Continu final : public Source {
 public:
  explicit Continu(double tension = 0) : tension_(tension) {}
  double Tension(double) const override { return tension_; }
  double Moyenne() const override { return tension_; }
  double PasMaximal() const override { return 1.0; }

 private:
  double tension_;
};
