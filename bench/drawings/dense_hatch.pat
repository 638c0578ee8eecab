; About 5 500 lines across a 1024 tile at repeat 1: five families 1.2 pixels apart, two of them dashed.
*DENSE,Five fine families
0, 0,0, 0,.001171875
36, 0,0, .01,.001171875, .05,-.01
72, 0,0, 0,.001171875
108, 0,0, .01,.001171875, .02,-.01,0,-.01
144, 0,0, 0,.001171875
