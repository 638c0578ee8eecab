; Brick courses in running bond: bricks half a unit long and a quarter unit high.
*BRICK,Brick courses in running bond
0, 0,0, 0,.25
90, 0,0, .25,.25, .25,-.25
