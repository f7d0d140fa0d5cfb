#pragma once
// What the kernels of the evaluation of a reading compute: the contact area, the forces and mean
// stresses, the moment with its edge stresses and the angles of the lateral load. The reading
// loop keeps the latest of each (Work); the kernels are in mechanics/.

namespace ostrevik {

// The overlap of the two elliptical sections of the sheared cylinder.
struct ContactArea {
  float RMAJ = 0;   // semi-major axis of a section, cm
  float RAB = 0;    // product of the semi-axes, cm²
  float BOVL = 0;   // overlap half-angle, rad
  float GOVL = 0;   // 2·BOVL plus the sine of 2·BOVL
  float ACONT = 0;  // area, cm²
  float SECMW = 0;  // second moment about the centroidal axis normal to the displacement, cm⁴
  float PHALF = 0;  // half contact length, cm
  float PLEN = 0;   // length of the rectangle of width 0.9·DIAW with the same area, cm
};

// The forces of one evaluation of a reading.
struct Forces {
  float QLAT = 0;    // effective lateral load, kg
  float QLATX = 0;   // lateral load along the load P, kg
  float QLATY = 0;   // lateral load across the load P, kg
  float XFRC = 0;    // resultant along the load P, kg
  float YFRC = 0;    // resultant across the load P, kg
  float FNORM = 0;   // force normal to the plane, kg
  float FSHEAR = 0;  // force along the plane, kg
  float SIGN = 0;    // mean normal stress on the contact area, kg/cm²
  float TAUN = 0;    // mean shear stress on the contact area, kg/cm²
  float USTR = 0;    // displacement along the plane, % of the contact length
  float VSTR = 0;    // displacement normal to the plane, % of the contact length
};

// The moment of one evaluation of a reading and its edge stresses.
struct Moment {
  float SMOM = 0;  // moment about the centroid of the contact area, kg·cm
  float PMOM = 0;  // |SMOM|, kg·cm
  float BSTR = 0;  // bending stress at the ends of the contact area, kg/cm²
  float DEVP = 0;  // BSTR in % of SIGN
  float SMAX = 0;  // SIGN + BSTR, kg/cm²
  float SMIN = 0;  // SIGN − BSTR, kg/cm²
};

// The angles of the lateral load at one evaluation of a reading.
struct LateralLoadAngles {
  float GRDQR = 0;  // inclination of the yoke, rad
  float GRSBR = 0;  // inclination of the bar, rad
  float ANGQR = 0;  // direction of the lateral load, rad
  float CGRDQ = 0;  // cosine of GRDQR
};

}  // namespace ostrevik
