// The demonstration scene of qvrender and rayviewer for POV-Ray, for the speed comparison in
// RaytraceBench: the same camera (90 degrees vertical, 4:3), objects, materials, light and white
// background, with reflection three bounces deep. POV-Ray's coordinates are left-handed, so the
// camera's right vector is negated to keep the picture the right way round.
#version 3.7;
global_settings { assumed_gamma 1.0 max_trace_level 4 ambient_light rgb <1, 1, 1> }
background { rgb <1, 1, 1> }

camera {
  perspective
  location <2, 3.5, 8>
  direction <0, 0, 0.5>
  up <0, 1, 0>
  right <-4/3, 0, 0>
  look_at <0, 0, 0>
}

light_source { <9, 9, 9> color rgb <1, 1, 1> }

// Red, reflective, shininess 32.
sphere {
  <-3, 0, 0>, 2
  pigment { rgb <1, 0, 0> }
  finish { ambient 0.2 diffuse 1 phong 1 phong_size 32 reflection 0.6 }
}

// Green cube around (2, 0, 2).
box {
  <1, -1, 1>, <3, 1, 3>
  pigment { rgb <0, 1, 0> }
  finish { ambient 0.2 diffuse 1 phong 1 phong_size 10 }
}

// The room: grey floor and left wall, mirror back wall, open elsewhere.
plane { y, -4 pigment { rgb <0.7, 0.7, 0.7> } finish { ambient 0.2 diffuse 1 phong 1 phong_size 32 } }
plane { x, -20 pigment { rgb <0.7, 0.7, 0.7> } finish { ambient 0.2 diffuse 1 phong 1 phong_size 32 } }
plane { z, -20 pigment { rgb <0, 0, 0> } finish { ambient 0 diffuse 0 phong 1 phong_size 20 reflection 0.9 } }
